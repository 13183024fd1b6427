// Owners of the GDI+ objects (flat interface) and of COM streams.
#pragma once

#include <windows.h>
// GDI+ needs the COM types declared first.
#include <objidl.h>
#include <propidl.h>
// GDI+ itself.
#include <gdiplus.h>

#include <utility>

namespace fw {

struct DisposeGdipImage {
  void operator()(Gdiplus::GpImage* image) const { Gdiplus::DllExports::GdipDisposeImage(image); }
};
struct DeleteGdipGraphics {
  void operator()(Gdiplus::GpGraphics* graphics) const {
    Gdiplus::DllExports::GdipDeleteGraphics(graphics);
  }
};
struct ReleaseComObject {
  void operator()(IUnknown* object) const { object->Release(); }
};

// Same shape as OwnedHandle, for pointers to GDI+ and COM objects.
template <typename T, typename Free>
class OwnedPtr {
 public:
  OwnedPtr() = default;
  explicit OwnedPtr(T* object) : m_p(object) {}
  ~OwnedPtr() { reset(); }
  OwnedPtr(const OwnedPtr&) = delete;
  OwnedPtr& operator=(const OwnedPtr&) = delete;
  OwnedPtr(OwnedPtr&& other) noexcept : m_p(other.release()) {}
  OwnedPtr& operator=(OwnedPtr&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }

  T* get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  T* release() { return std::exchange(m_p, nullptr); }
  void reset(T* object = nullptr) {
    T* old = std::exchange(m_p, object);
    if (old)
      Free{}(old);
  }
  // For functions that hand out a new object through a pointer: frees the old one first.
  T** put() {
    reset();
    return &m_p;
  }

 private:
  T* m_p = nullptr;
};

using GdipImage = OwnedPtr<Gdiplus::GpImage, DisposeGdipImage>;
using GdipGraphics = OwnedPtr<Gdiplus::GpGraphics, DeleteGdipGraphics>;
using ComStream = OwnedPtr<IStream, ReleaseComObject>;

// GDI+ for the life of the object.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (m_ok)
      Gdiplus::GdiplusShutdown(m_token);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool ok() const { return m_ok; }

 private:
  ULONG_PTR m_token = 0;
  bool m_ok = false;
};

}  // namespace fw
