// Values and errors between the program and COM automation: texts in the
// ANSI code page, VARIANTs of the kinds add-ins exchange, and error numbers.
#pragma once

#include <windows.h>
// windows.h first.
#include <oleauto.h>

#include <cstdint>
#include <string>

#include "registry/Variant.h"

namespace vtl::win32 {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, std::size_t length);
// A BSTR's text; null is "".
std::string NarrowBstr(BSTR text);
// A new BSTR (SysFreeString it), null when out of memory.
BSTR NewBstr(const std::string& text);

// `out` must be empty (VariantInit). Throws VtlError 13 for a byte array.
void ToVARIANT(const Variant& value, VARIANT& out);
// Throws VtlError 13 for a kind the program does not use.
Variant FromVARIANT(const VARIANT& value);

// Error numbers in EXCEPINFO::scode: a small number n (as an automation
// server raises it) travels as 0x800A0000 | n, any other number as itself.
HRESULT ErrorToScode(std::int32_t number);
std::int32_t ScodeToError(HRESULT scode);

// {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}, as the registry keys a class.
std::string GuidText(const GUID& guid);

// The system's text for `code`, followed by the code in hexadecimal.
std::string ErrorText(HRESULT code);

// Owns a VARIANT and clears it.
class VariantHolder {
  public:
    VariantHolder() { VariantInit(&value_); }
    ~VariantHolder() { VariantClear(&value_); }
    VariantHolder(const VariantHolder&) = delete;
    VariantHolder& operator=(const VariantHolder&) = delete;
    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

}  // namespace vtl::win32
