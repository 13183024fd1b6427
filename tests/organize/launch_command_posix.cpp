#include "launch_command.h"
#include "test_files.h"

LaunchCommand WriteMarkerLater(const std::string& folder, const std::string& marker) {
  const std::string script = folder + "write-marker.sh";
  testfiles::WriteText(script, "sleep 0.3; echo done > '" + marker + "'\n");
  return {"sh", script};
}
