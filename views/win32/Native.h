// The Windows headers as every view includes them: ANSI calls, the controls
// of comctl32 as Windows 95 with Internet Explorer 5 has them.
#pragma once

// The platform interface names Win32 constants that windows.h defines as
// macros: it must be read first. Include core headers before this one.
#include "platform/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#undef UNICODE
#undef _UNICODE

#include <windows.h>
// Keep commctrl.h after windows.h.
#include <commctrl.h>

// The platform interface has members of these names: views call the ...A functions.
#undef CreateObject
#undef DeleteFile
#undef FindFirstFile
#undef GetFileAttributes
#undef GetOpenFileName
#undef GetPrinter
#undef GetPrivateProfileString
#undef GetProfileString
#undef GetSaveFileName
#undef GetSystemDirectory
#undef GetVersionEx
#undef GetWindowText
#undef GetWindowsDirectory
#undef MessageBox
#undef OpenPrinter
#undef PrintDlg
#undef RegCreateKeyEx
#undef RegDeleteKey
#undef RegEnumKeyEx
#undef RegEnumValue
#undef RegOpenKeyEx
#undef RegQueryInfoKey
#undef RegQueryValueEx
#undef RegSetValueEx
#undef ReplaceFile
#undef SendMessage
#undef SetPrinter
#undef ShellExecute
#undef WNetAddConnection2
#undef WNetCancelConnection2
#undef WritePrivateProfileString
#undef WriteProfileString
