#pragma once
#include <windows.h>

#include <objbase.h>

// The COM library's calls, looked up at the first use: importing it would load it (and the RPC
// runtime behind it) at every start, although only shortcuts and images need it.
HRESULT ComInitialize();
void ComUninitialize();
// An in-process object of the class, asked for the interface.
HRESULT ComCreateInstance(REFCLSID clsid, REFIID iid, void** object);

// COM initialised for the calling thread for the owner's lifetime. A thread that already has COM
// in another apartment model keeps it and is not uninitialised here, since only successful
// initialisations are paired.
class ComInitialization {
 public:
  ComInitialization() : initialized_(SUCCEEDED(ComInitialize())) {}
  ~ComInitialization() {
    if (initialized_) ComUninitialize();
  }
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;

 private:
  bool initialized_;
};

// Owns one reference to a COM interface and releases it.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = other.ptr_;
      other.ptr_ = nullptr;
    }
    return *this;
  }

  void Reset() {
    if (ptr_ != nullptr) ptr_->Release();
    ptr_ = nullptr;
  }
  // The address to receive a new reference; the old one is released first.
  T** Put() {
    Reset();
    return &ptr_;
  }
  // For calls that hand back an untyped interface pointer (CoCreateInstance, QueryInterface).
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};
