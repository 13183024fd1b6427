// Where the main window puts its controls: computed from the skin's size and the size each
// image button took from its strip, so another skin moves the controls with it. All in pixels
// at 96 DPI; the window scales each rectangle to its own DPI.
#pragma once

struct LayoutSize {
  int w = 0;
  int h = 0;
};

struct LayoutRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct MainLayoutInput {
  LayoutSize skin;
  LayoutSize close, minimise, options, about;  // title-row buttons
  LayoutSize photoDir, outputDir, organize, stop;
  LayoutSize openOutput;
};

struct MainLayout {
  LayoutRect close, minimise, options, about;
  LayoutRect photoDir, pathSrc;   // first row: button 1001, static 1019
  LayoutRect outputDir, pathTar;  // second row: button 1003, static 1020
  LayoutRect organize, message;   // third row: button 1005, static 1018
  LayoutRect stop;
  LayoutRect openOutput;  // button 1021, beside the output folder's path
  LayoutRect deleteSrc;   // check box 1006
  LayoutRect makerLine;   // static 1013
};

MainLayout ComputeMainLayout(const MainLayoutInput& in);

// `r` at `dpi`: each of its four numbers scaled from 96 DPI.
LayoutRect ScaleLayoutRect(const LayoutRect& r, int dpi);
