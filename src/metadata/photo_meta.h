// The metadata record that the JPEG reader fills from a photo's head.
#pragma once

#include <cstdint>

// A plain record, zero-filled by whoever creates it. Text fields always end with a NUL
// inside their size.
struct PhotoMeta {
  char exifVersion[5];
  char maker[32];
  char model[40];
  char takenAt[20];  // date and time of capture as written in the file
  std::int32_t imageHeight;
  std::int32_t imageWidth;
  std::int32_t orientationCode;
  std::int32_t colourFrame;  // 1 when the frame has three components
  std::int32_t frameMarker;
  std::int32_t flashFired;
  float focalLengthMm;
  float exposureSeconds;
  float fNumber;
  float subjectDistance;
  float sensorWidth;  // inches
  float exposureBiasEv;
  std::int32_t lightSource;
  std::int32_t meteringModeCode;
  std::int32_t exposureProgramCode;
  std::int32_t isoSpeed;
  std::int32_t compressedBpp;
  float focalPlaneResX;
  float focalPlaneResY;
  float focalPlaneUnitInches;
  float resolutionX;
  float resolutionY;
  float resolutionUnitInches;
  float brightnessValue;
  char commentText[1000];
  const std::uint8_t* thumbnailBytes;  // inside a held section; valid while the reader lives
  std::int32_t thumbnailLength;
  bool hasExif;
};
