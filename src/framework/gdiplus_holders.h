// Owners of the GDI+ objects (flat interface) and of COM streams.
#pragma once

#include <windows.h>
// GDI+ needs the COM types declared first.
#include <objidl.h>
#include <propidl.h>
// GDI+ itself.
#include <gdiplus.h>

#include "framework/gdi_holders.h"

namespace fw {

struct DisposeGdipImage {
  void operator()(Gdiplus::GpImage* image) const { Gdiplus::DllExports::GdipDisposeImage(image); }
};
struct DeleteGdipGraphics {
  void operator()(Gdiplus::GpGraphics* graphics) const {
    Gdiplus::DllExports::GdipDeleteGraphics(graphics);
  }
};
struct DisposeGdipImageAttributes {
  void operator()(Gdiplus::GpImageAttributes* attributes) const {
    Gdiplus::DllExports::GdipDisposeImageAttributes(attributes);
  }
};
struct ReleaseComObject {
  void operator()(IUnknown* object) const { object->Release(); }
};

using GdipImage = OwnedHandle<Gdiplus::GpImage*, DisposeGdipImage>;
using GdipGraphics = OwnedHandle<Gdiplus::GpGraphics*, DeleteGdipGraphics>;
using GdipImageAttributes = OwnedHandle<Gdiplus::GpImageAttributes*, DisposeGdipImageAttributes>;
using ComStream = OwnedHandle<IStream*, ReleaseComObject>;

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
