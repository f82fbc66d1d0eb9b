// Registration as the user sees it: the refusal while jaPBe runs, the question before anything is
// removed, and one closing box that says whether it worked. The plug-in directory is made on every call
// that finds jaPBe, whatever the user answers later.
#include "app/registration_flow.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "ports/message_box.h"
#include "ports/platform_port.h"
#include "ports/window_port.h"
#include "registration/japbe_directory.h"
#include "registration/registration_state.h"
#include "registration/removal_batch.h"
#include "registration/tools_file_rewrite.h"
#include "support/file_size.h"
#include "support/text.h"

namespace mirravel {
namespace {

struct Box {
  std::string_view title;
  std::string_view text;
  unsigned type;
};

constexpr Box kCloseJaPBeFirst{"WARNING", "Please close jaPBe before (un)registering plugin !", kBoxExclamation};
constexpr Box kNotInstalled{"ERROR", "JaPBe is not installed !", kBoxStop};
constexpr Box kAskUninstall{"WARNING", "The plugin 'Mirravel' is already registered !\nUninstall the plugin ?",
                            kBoxYesNoExclamation};
constexpr Box kUninstalled{"INFO", "Plugin Mirravel is uninstalled !", kBoxInformation};
constexpr Box kNotUninstalled{"ERROR", "Plugin could not be uninstalled !", kBoxStop};
constexpr Box kRegistered{"INFO", "Plugin Mirravel is registered !", kBoxInformation};
constexpr Box kNotRegistered{"ERROR", "Plugin could not be registered !", kBoxStop};
constexpr Box kAskUninstallCopy{
    "WARNING", "JaPBe tools preference file not found,\nbut the plugin seems already installed!\nUninstall the plugin ?",
    kBoxYesNoExclamation};
constexpr Box kAskInstallCopy{
    "WARNING", "JaPBe tools preference file not found,\nbut the plugin seems not installed!\nInstall the plugin ?",
    kBoxYesNoExclamation};
constexpr Box kInstalled{"INFO", "Plugin Mirravel is installed !", kBoxInformation};

constexpr std::string_view kHostWindowTitle = "jaPBe";

int ShowBox(WindowPort& window, const Box& box) { return window.ShowMessageBox(box.title, box.text, box.type); }

class Registration {
 public:
  Registration(PlatformPort& platform, WindowPort& window, const ShutdownStarting& shutdown, PluginPaths paths)
      : platform_(platform), files_(platform.Files()), window_(window), shutdown_(shutdown), paths_(std::move(paths)) {}

  void RemoveEntry(const ToolsFileScan& scan) {
    if (!Ask(kAskUninstall)) return;
    if (!RemoveToolEntry(files_, paths_.toolsFile, scan.found, scan.count - 1)) {
      Show(kNotUninstalled);
      return;
    }
    Show(kUninstalled);
    RemovePluginCopy(paths_.pluginCopy, platform_, shutdown_);
  }

  void AddEntry(const ToolsFileScan& scan) {
    // A count that cannot grow by one leaves the file alone instead of wrapping round.
    const bool ok = scan.count < INT32_MAX && AppendToolEntry(files_, paths_.toolsFile, scan.count + 1) && PlaceCopy();
    Show(ok ? kRegistered : kNotRegistered);
  }

  // No readable tools file: only the plug-in copy is installed or removed.
  void InstallOrRemoveCopyAlone() {
    if (QueryFileSize(paths_.pluginCopy) > 0) {
      if (Ask(kAskUninstallCopy) && !RemovePluginCopy(paths_.pluginCopy, platform_, shutdown_)) Show(kUninstalled);
    } else if (Ask(kAskInstallCopy)) {
      // A failed copy is reported like a failed registration rather than passed over in silence.
      Show(PlaceCopy() ? kInstalled : kNotRegistered);
    }
  }

 private:
  // Copies the running executable to the plug-in copy, unless it already runs as that copy.
  bool PlaceCopy() {
    const std::string own = files_.OwnExecutablePath();
    if (EqualIgnoringCase(own, paths_.pluginCopy)) return true;
    return files_.CopyReplacing(own, paths_.pluginCopy);
  }
  int Show(const Box& box) { return ShowBox(window_, box); }
  bool Ask(const Box& box) { return Show(box) == kAnswerYes; }

  PlatformPort& platform_;
  FileOperationsPort& files_;
  WindowPort& window_;
  const ShutdownStarting& shutdown_;
  PluginPaths paths_;
};

}  // namespace

void RegisterOrUnregisterPlugin(PlatformPort& platform, WindowPort& window, const ShutdownStarting& shutdown) {
  if (platform.Desktop().HasTopLevelWindowTitled(kHostWindowTitle)) {
    ShowBox(window, kCloseJaPBeFirst);
    return;
  }
  const std::string directory = FindJaPBeDirectory(platform.Registry());
  if (directory.empty()) {
    ShowBox(window, kNotInstalled);
    return;
  }
  PluginPaths paths = PluginPathsIn(directory);
  platform.Files().MakeDirectories(paths.pluginDirectory);
  const ToolsFileScan scan = ScanToolsFile(paths.toolsFile);
  Registration registration(platform, window, shutdown, std::move(paths));
  if (!scan.opened) {
    registration.InstallOrRemoveCopyAlone();
  } else if (scan.found != 0) {
    registration.RemoveEntry(scan);
  } else {
    registration.AddEntry(scan);
  }
}

bool RemovePluginCopy(const std::string& pluginCopy, PlatformPort& platform, const ShutdownStarting& shutdown) {
  FileOperationsPort& files = platform.Files();
  if (!EqualIgnoringCase(pluginCopy, files.OwnExecutablePath())) {
    files.RemoveFile(pluginCopy);
    return false;
  }
  const std::string batch = RemovalBatchPath(files.TemporaryDirectory());
  if (!WriteRemovalBatch(files, batch, files.ShortPathOf(pluginCopy))) return false;
  shutdown([&platform, &batch] { platform.Shell().StartHidden(batch, DirectoryPart(batch)); });
  return true;
}

}  // namespace mirravel
