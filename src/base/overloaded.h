#pragma once

// Lambdas joined into one visitor for std::visit, one for each alternative of a variant.
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
