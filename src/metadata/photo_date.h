// The day a photo was taken, from the EXIF date of capture of a .jpg file.
#pragma once

#include <string>

#include "platform/platform.h"

// True for a name or path ending in .jpg, in any letter case: the only files the lookup reads.
bool HasJpgEnding(const std::string& name);

// For a path ending in .jpg (any letter case) whose file holds an EXIF date of capture:
// that date cut at its first blank (unless the blank leads), colons turned into hyphens,
// normally YYYY-MM-DD. Otherwise an empty text. Never fails.
// `held`, when given and open, is that file, read without opening it again.
std::string GetPhotoDate(const std::string& path, const platform::HeldFile* held = nullptr);

// The same answer for the current entry of `listing`, opened relative to the listed folder;
// the walk uses this form.
std::string GetPhotoDate(const platform::FolderListing& listing);
