#include "app/main_layout.h"

#include "framework/dpi.h"

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
  const int W = in.skin.w;
  const int H = in.skin.h;
  MainLayout out;

  // Title row, right to left: close and minimise flush at the right edge, then a gap of one
  // options button's width, the options button, and the About button two pixels before it.
  out.close = {W - in.close.w - 2, 2, in.close.w, in.close.h};
  out.minimise = {W - 2 * in.minimise.w - 2, 2, in.minimise.w, in.minimise.h};
  out.options = {out.minimise.x - 2 * in.options.w, 5, in.options.w, in.options.h};
  out.about = {out.options.x - in.about.w - 2, 5, in.about.w, in.about.h};

  // Three rows at 22, 44 and 66 per cent of the height, each a button and a static beside it.
  const int rowHeight = in.photoDir.h;
  out.photoDir = {in.photoDir.w / 2 + 10, H * 22 / 100, in.photoDir.w, in.photoDir.h};
  out.pathSrc = {out.photoDir.x + in.photoDir.w + 10, out.photoDir.y, W / 2, rowHeight};
  out.outputDir = {in.outputDir.w / 2 + 10, H * 44 / 100, in.outputDir.w, in.outputDir.h};
  out.pathTar = {out.outputDir.x + in.outputDir.w + 10, out.outputDir.y, W / 2, rowHeight};
  out.organize = {in.organize.w / 2 + 10, H * 66 / 100, in.organize.w, in.organize.h};
  out.message = {out.organize.x + in.organize.w + 10, out.organize.y, W / 2, 2 * in.organize.h};
  out.stop = {out.message.x + W / 2 + 10, out.organize.y + in.stop.h / 2, in.stop.w, in.stop.h};
  out.openOutput = {out.pathTar.x + W / 2 + 10,
                    out.outputDir.y + (in.outputDir.h - in.openOutput.h) / 2, in.openOutput.w,
                    in.openOutput.h};

  out.deleteSrc = {W * 15 / 100, H - 25, 200, 18};
  out.makerLine = {W * 42 / 100, H - 20, 400, 18};
  return out;
}

LayoutRect ScaleLayoutRect(const LayoutRect& r, int dpi) {
  return {fw::Scale(r.x, dpi), fw::Scale(r.y, dpi), fw::Scale(r.w, dpi), fw::Scale(r.h, dpi)};
}
