#include "platform/win32/ComVariant.h"

#include "config/VtlError.h"

namespace vtl::win32 {

namespace {

constexpr std::int32_t kTypeMismatch = 13;
constexpr HRESULT kAutomationFacility = static_cast<HRESULT>(0x800A0000u);

[[noreturn]] void typeMismatch() {
    throw VtlError(kTypeMismatch, "Vantrel", "Type mismatch");
}

}  // namespace

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (text == nullptr || length == 0)
        return {};
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::string NarrowBstr(BSTR text) {
    return text ? Narrow(text, SysStringLen(text)) : std::string();
}

BSTR NewBstr(const std::string& text) {
    const std::wstring wide = Widen(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void ToVARIANT(const Variant& value, VARIANT& out) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            V_VT(&out) = VT_EMPTY;
            return;
        case Variant::Kind::String:
            V_BSTR(&out) = NewBstr(value.text());
            if (V_BSTR(&out) == nullptr)
                throw VtlError(7, "Vantrel", "Out of memory");
            V_VT(&out) = VT_BSTR;
            return;
        case Variant::Kind::Bool:
            V_VT(&out) = VT_BOOL;
            V_BOOL(&out) = value.truth() ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        case Variant::Kind::Long:
            V_VT(&out) = VT_I4;
            V_I4(&out) = static_cast<LONG>(value.number());
            return;
        case Variant::Kind::Double:
            V_VT(&out) = VT_R8;
            V_R8(&out) = value.number();
            return;
        case Variant::Kind::Bytes:
            break;
    }
    typeMismatch();
}

Variant FromVARIANT(const VARIANT& value) {
    if (V_VT(&value) & VT_BYREF) {
        VariantHolder direct;
        if (FAILED(VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value))))
            typeMismatch();
        return FromVARIANT(*direct);
    }
    switch (V_VT(&value)) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_BSTR:
            return Variant(NarrowBstr(V_BSTR(&value)));
        case VT_BOOL:
            return Variant(V_BOOL(&value) != VARIANT_FALSE);
        case VT_UI1:
            return Variant(static_cast<std::int32_t>(V_UI1(&value)));
        case VT_I2:
            return Variant(static_cast<std::int32_t>(V_I2(&value)));
        case VT_I4:
            return Variant(static_cast<std::int32_t>(V_I4(&value)));
        case VT_INT:
            return Variant(static_cast<std::int32_t>(V_INT(&value)));
        case VT_R4:
            return Variant(static_cast<double>(V_R4(&value)));
        case VT_R8:
            return Variant(V_R8(&value));
        default:
            break;
    }
    typeMismatch();
}

HRESULT ErrorToScode(std::int32_t number) {
    if (number > 0 && number <= 0xFFFF)
        return kAutomationFacility | static_cast<HRESULT>(number);
    return static_cast<HRESULT>(number);
}

std::int32_t ScodeToError(HRESULT scode) {
    if ((scode & static_cast<HRESULT>(0xFFFF0000u)) == kAutomationFacility)
        return static_cast<std::int32_t>(scode & 0xFFFF);
    return static_cast<std::int32_t>(scode);
}

std::string GuidText(const GUID& guid) {
    OLECHAR text[40] = {};
    const int length = StringFromGUID2(guid, text, 40);
    return length > 0 ? Narrow(text, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string ErrorText(HRESULT code) {
    char* buffer = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = buffer ? buffer : "";
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        hex += kDigits[(static_cast<DWORD>(code) >> shift) & 0xF];
    return text.empty() ? "Error " + hex + "." : text + " (" + hex + ")";
}

}  // namespace vtl::win32
