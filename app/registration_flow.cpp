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
constexpr Box kNoLongerRegistered{"WARNING", "The plugin 'Mirravel' is no longer registered !\nNothing was changed.",
                                  kBoxExclamation};
// Followed by the plug-in copy's path.
constexpr Box kEntryGoneCopyStays{"ERROR", "Plugin Mirravel is unregistered,\nbut its file could not be deleted:\n",
                                  kBoxStop};
constexpr Box kCopyStays{"ERROR", "Plugin could not be uninstalled !\nIts file could not be deleted:\n", kBoxStop};

constexpr std::string_view kHostWindowTitle = "jaPBe";

int ShowBox(WindowPort& window, const Box& box) { return window.ShowMessageBox(box.title, box.text, box.type); }

class Registration {
 public:
  Registration(PlatformPort& platform, WindowPort& window, const ShutdownStarting& shutdown, PluginPaths paths)
      : platform_(platform), files_(platform.Files()), window_(window), shutdown_(shutdown), paths_(std::move(paths)) {}

  // The entry removed is the one the file holds when it is rewritten: the file may change while the question is open.
  void RemoveEntry() {
    if (!Ask(kAskUninstall)) return;
    switch (RemoveMirravelEntry(files_, paths_.toolsFile)) {
      case EntryRemoval::Removed:
        break;
      case EntryRemoval::NotFound:
        Show(kNoLongerRegistered);
        return;
      case EntryRemoval::Failed:
        Show(kNotUninstalled);
        return;
    }
    // The running copy says so before it ends; the batch it leaves behind does the deleting.
    const auto sayUninstalled = [this] { Show(kUninstalled); };
    Report(RemovePluginCopy(paths_.pluginCopy, platform_, shutdown_, sayUninstalled), kEntryGoneCopyStays);
  }

  void AddEntry(const ToolsFileScan& scan) {
    // A count that cannot grow by one leaves the file alone instead of wrapping round.
    const bool ok = scan.count < INT32_MAX && AppendToolEntry(files_, paths_.toolsFile, scan.count + 1) && PlaceCopy();
    Show(ok ? kRegistered : kNotRegistered);
  }

  // No readable tools file: only the plug-in copy is installed or removed.
  void InstallOrRemoveCopyAlone() {
    if (QueryFileSize(paths_.pluginCopy) > 0) {
      if (Ask(kAskUninstallCopy)) Report(RemovePluginCopy(paths_.pluginCopy, platform_, shutdown_), kCopyStays);
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
  // Success only for a copy that is gone; an ending program has nothing more to say.
  void Report(CopyRemoval removal, const Box& stillThere) {
    if (removal == CopyRemoval::Gone) Show(kUninstalled);
    if (removal != CopyRemoval::StillThere) return;
    window_.ShowMessageBox(stillThere.title, std::string(stillThere.text) + paths_.pluginCopy, stillThere.type);
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
    registration.RemoveEntry();
  } else {
    registration.AddEntry(scan);
  }
}

// A delete that reports success proves little (another program may hold the file with delete sharing):
// what counts is whether the file is still there afterwards.
CopyRemoval RemovePluginCopy(const std::string& pluginCopy, PlatformPort& platform, const ShutdownStarting& shutdown,
                             const std::function<void()>& beforeEnding) {
  FileOperationsPort& files = platform.Files();
  if (!EqualIgnoringCase(pluginCopy, files.OwnExecutablePath())) {
    files.RemoveFile(pluginCopy);
    return QueryFileSize(pluginCopy) == kPathMissing ? CopyRemoval::Gone : CopyRemoval::StillThere;
  }
  const std::string batch = RemovalBatchPath(files.TemporaryDirectory());
  if (!WriteRemovalBatch(files, batch, files.ShortPathOf(pluginCopy))) return CopyRemoval::StillThere;
  if (beforeEnding) beforeEnding();
  shutdown([&platform, &batch] { platform.Shell().StartHidden(batch, DirectoryPart(batch)); });
  return CopyRemoval::Ending;
}

}  // namespace mirravel
