// The Windows headers for the win32 platform's sources. The platform headers
// come first; the Windows macros that would rename Platform's members are
// removed, so the API is called by its "A" names and with "::".
#pragma once

#include "platform/win32/Win32Platform.h"

// The Windows headers must follow it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// These need <windows.h> before them.
#include <commdlg.h>
#include <shellapi.h>
#include <winnetwk.h>
#include <winspool.h>

#undef RegOpenKeyEx
#undef RegCreateKeyEx
#undef RegDeleteKey
#undef RegDeleteValue
#undef RegQueryValueEx
#undef RegSetValueEx
#undef RegQueryInfoKey
#undef RegEnumKeyEx
#undef RegEnumValue
#undef GetVersionEx
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef FindFirstFile
#undef GetFileAttributes
#undef ReplaceFile
#undef DeleteFile
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef MessageBox
#undef GetProfileString
#undef WriteProfileString
#undef SendMessage
#undef OpenPrinter
#undef GetPrinter
#undef SetPrinter
#undef WNetAddConnection2
#undef WNetCancelConnection2
#undef PrintDlg
#undef ShellExecute
#undef GetOpenFileName
#undef GetSaveFileName
#undef GetWindowText

namespace vtl::win32 {

// Maps common failure codes of file calls onto the codes the program knows.
long fileError(DWORD code, long otherwise);

}  // namespace vtl::win32
