#pragma once

// Lambdas joined into one visitor for std::visit, one for each alternative of a variant.
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
