// tallowick-make-album: writes a demo album or a benchmark tree of photos and videos.
#include "album.h"

int main(int argc, char** argv) {
  return album::RunMakeAlbum(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc),
                             stdout, stderr);
}
