// Where the main window puts its controls: computed from the skin's size and the size each
// image button took from its strip, so another skin moves the controls with it.
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
};

struct MainLayout {
  LayoutRect close, minimise, options, about;
  LayoutRect photoDir, pathSrc;   // first row: button 1001, static 1019
  LayoutRect outputDir, pathTar;  // second row: button 1003, static 1020
  LayoutRect organize, message;   // third row: button 1005, static 1018
  LayoutRect stop;
  LayoutRect deleteSrc;  // check box 1006
  LayoutRect makerLine;  // static 1013
};

MainLayout ComputeMainLayout(const MainLayoutInput& in);
