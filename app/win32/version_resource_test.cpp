// The Windows executables' version data, read as Explorer and inventory
// tools read it: both carry the project's version and names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The file `name` in this test's own folder, where the build puts both
// executables.
std::wstring Beside(const std::wstring& name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring Wide(const char* text) {
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

TEST(VersionResource, BothExecutablesCarryTheProjectsVersionAndNames) {
  for (const wchar_t* file : {L"partitionen.exe", L"partitionen.com"}) {
    SCOPED_TRACE(std::string(file, file + wcslen(file)));
    const std::wstring path = Beside(file);
    std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(data.empty()) << "no version data";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    for (const auto [high, low] :
         {std::pair{fixed->dwFileVersionMS, fixed->dwFileVersionLS},
          std::pair{fixed->dwProductVersionMS, fixed->dwProductVersionLS}}) {
      EXPECT_EQ(std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
                    std::to_wstring(HIWORD(low)),
                Wide(PARTITIONEN_VERSION));
    }

    const std::pair<const wchar_t*, std::wstring> texts[] = {
        {L"FileVersion", Wide(PARTITIONEN_VERSION)},
        {L"ProductVersion", Wide(PARTITIONEN_VERSION)},
        {L"ProductName", L"Partitionen"},
        {L"CompanyName", Wide(PARTITIONEN_PUBLISHER)},
        {L"FileDescription", Wide(PARTITIONEN_DESCRIPTION)},
        {L"OriginalFilename", file},
        {L"LegalCopyright", L"\u00a9 2026 das " + Wide(PARTITIONEN_PUBLISHER)},
    };
    for (const auto& [name, expected] : texts) {
      wchar_t* value = nullptr;
      const std::wstring key = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
      EXPECT_TRUE(
          VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) &&
          value != nullptr && std::wstring(value) == expected)
          << std::string(name, name + wcslen(name)) << " is not the expected text";
    }
  }
}

}  // namespace
