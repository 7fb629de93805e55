// The start checks of the version-up that read Update.INI: the installed
// and the release's version, whether this release applies to the installed
// version (asking before a re-install or a downgrade), and the section
// Setting. Each shows and logs its own refusals; called by Main in this
// order after the path set-up.
#ifndef QZ_UPDATE_VERSION_CHECK_H_
#define QZ_UPDATE_VERSION_CHECK_H_

namespace qz::update {

// From the release folder: VersionCheck, and with it on the release's
// version file (Setting VersionFile, relative to the release folder) and
// the installed ProgramPath & "Version.ini" (section Version, key Now) into
// NewVersion and CurrentVersion. False on a missing file or version.
bool Fnc_GetVersion();

// With VersionCheck on: the version numbers and Setting's TargetMin and
// TargetMax; refuses an installed version outside the range, asks (Yes/No,
// No the default) before a re-install of the same version or a downgrade.
// False when the run must not go on.
bool Fnc_VersionCheck();

// MasterLocal, LockCheck, RunCheck and the section counts from Setting.
void Sub_GetSetting();

}  // namespace qz::update

#endif  // QZ_UPDATE_VERSION_CHECK_H_
