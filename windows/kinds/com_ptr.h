// The program's one COM smart pointer: owns one reference to an object.
#pragma once
#include <unknwn.h>

#include <utility>

namespace vorrik {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns.
  static ComPtr Adopt(T* object) {
    ComPtr result;
    result.object_ = object;
    return result;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* object) {
    if (object) object->AddRef();
    return Adopt(object);
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  // The slot for an out parameter, emptied first.
  T** Put() {
    Reset();
    return &object_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // Another interface of the same object; empty when it has none.
  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> result;
    if (object_) object_->QueryInterface(iid, result.PutVoid());
    return result;
  }

 private:
  T* object_ = nullptr;
};

}  // namespace vorrik
