// Measures the registry scan against the raw registry walk it cannot avoid, and the report
// writers against one write of the same bytes, on synthetic classes trees of three sizes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/Settings.h"
#include "catalogue/MenuItem.h"
#include "framework/Handles.h"
#include "framework/Text.h"

namespace {

const char kBenchBase[] = "Software\\MorvaneBench";
constexpr int kVerbsPerType = 4;
constexpr int kExtensionsPerType = 2;
// One command in this many names a real program with a version record.
constexpr int kRealProgramEvery = 8;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Time(const std::function<void()>& work) {
    const double start = Now();
    work();
    return Now() - start;
}

void SetString(HKEY parent, const std::string& path, const char* name, const std::string& value) {
    win::UniqueKey key;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// A classes tree of about the given number of verbs below a private root, built once per
// prefix and kept for later runs (a "Complete" value marks a finished tree).
win::UniqueKey BenchTree(int verbs) {
    const std::string path = std::string(kBenchBase) + "\\Verbs" + std::to_string(verbs);
    win::UniqueKey root;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(), nullptr);
    if (RegQueryValueExA(root.get(), "Complete", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) return root;

    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string real[] = {std::string(windows) + "\\regedit.exe", std::string(windows) + "\\explorer.exe",
                                std::string(system) + "\\msiexec.exe", std::string(system) + "\\shell32.dll"};
    const int types = verbs / kVerbsPerType;
    for (int t = 0; t < types; ++t) {
        const std::string type = "BenchType" + std::to_string(t);
        SetString(root.get(), type, "", "Bench type " + std::to_string(t));
        for (int e = 0; e < kExtensionsPerType; ++e)
            SetString(root.get(), ".bx" + std::to_string(t) + "_" + std::to_string(e), "", type);
        for (int v = 0; v < kVerbsPerType; ++v) {
            const int n = t * kVerbsPerType + v;
            const std::string program =
                n % kRealProgramEvery == 0 ? real[(n / kRealProgramEvery) % 4]
                                           : "C:\\Missing\\program" + std::to_string(t) + ".exe";
            const std::string verb = type + "\\shell\\verb" + std::to_string(v);
            SetString(root.get(), verb, "", "Verb " + std::to_string(v) + " of " + type);
            SetString(root.get(), verb + "\\command", "", "\"" + program + "\" \"%1\"");
        }
    }
    SetString(root.get(), "", "Complete", "1");
    return root;
}

bool ReadText(HKEY key, const char* name, char* data, DWORD capacity) {
    DWORD size = capacity;
    return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
}

// Only the reads that any scan needs: every key and value the rows come from, and one
// version record per distinct existing program. No rows are kept.
long RawWalk(HKEY root) {
    std::unordered_set<std::string> listedTypes;
    std::unordered_set<std::string> programs;
    long verbs = 0;
    char name[255];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        LONG status = RegEnumKeyExA(root, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        if (name[0] != '.' && name[0] != '*' && std::strchr(name, '.') != nullptr) continue;
        win::UniqueKey key;
        if (RegOpenKeyExA(root, name, 0, KEY_READ, key.put()) != ERROR_SUCCESS) continue;
        std::string type = name;
        if (name[0] == '.') {
            char target[255] = {};
            win::UniqueKey typeKey;
            if (ReadText(key.get(), "", target, sizeof target) && target[0] != '\0' &&
                RegOpenKeyExA(root, target, 0, KEY_READ, typeKey.put()) == ERROR_SUCCESS) {
                key = std::move(typeKey);
                type = target;
            }
        }
        if (type[0] != '.' && !listedTypes.insert(text::FoldedKey(type.c_str())).second) continue;
        char description[255];
        ReadText(key.get(), "", description, sizeof description);
        win::UniqueKey shell;
        if (RegOpenKeyExA(key.get(), "Shell", 0, KEY_READ, shell.put()) == ERROR_SUCCESS) {
            char verb[255];
            for (DWORD v = 0;; ++v) {
                DWORD verbLength = sizeof verb;
                if (RegEnumKeyExA(shell.get(), v, verb, &verbLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
                win::UniqueKey verbKey, command;
                if (RegOpenKeyExA(shell.get(), verb, 0, KEY_READ, verbKey.put()) != ERROR_SUCCESS) continue;
                char text[511];
                ReadText(verbKey.get(), "", text, 127);
                ReadText(verbKey.get(), "LegacyDisable", text, 255);
                ReadText(verbKey.get(), "Extended", text, 255);
                if (RegOpenKeyExA(verbKey.get(), "Command", 0, KEY_READ, command.put()) == ERROR_SUCCESS) {
                    if (ReadText(command.get(), "", text, sizeof text)) {
                        FILETIME written;
                        RegQueryInfoKeyA(command.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, &written);
                        ++verbs;
                        const char* end = text[0] == '"' ? std::strchr(text + 1, '"') : nullptr;
                        std::string program = end != nullptr ? std::string(text + 1, static_cast<std::size_t>(end - text - 1)) : std::string();
                        if (!program.empty() && programs.insert(text::FoldedKey(program.c_str())).second &&
                            GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES) {
                            DWORD ignored = 0;
                            DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
                            std::vector<char> record(size);
                            void* value = nullptr;
                            UINT valueLength = 0;
                            if (size > 0 && GetFileVersionInfoA(program.c_str(), 0, size, record.data())) {
                                VerQueryValueA(record.data(), "\\VarFileInfo\\Translation", &value, &valueLength);
                                for (const char* field : {"ProductName", "FileDescription", "FileVersion", "CompanyName"}) {
                                    std::string query = std::string("\\StringFileInfo\\040904B0\\") + field;
                                    VerQueryValueA(record.data(), query.c_str(), &value, &valueLength);
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    return verbs;
}

std::string Output(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    // --reports-only scans the largest tree once and measures only the reports and the sort.
    const bool reportsOnly = argc > 1 && std::strcmp(argv[1], "--reports-only") == 0;
    MainSettings settings;
    settings.SetDefaults();
    settings.HideStandardItems = 0;
    MenuItemList list(&settings.HideStandardItems);
    list.Attach(nullptr);

    const int sizes[] = {1000, 10000, 50000};
    const int repeats[] = {7, 5, 3};
    double previousScan = 0, previousRaw = 0;
    bool met = true;
    std::printf("%-8s %8s %12s %12s %8s %12s %12s\n", "verbs", "rows", "raw walk s", "scan s", "ratio", "raw growth",
                "scan growth");
    for (int s = reportsOnly ? 2 : 0; s < 3; ++s) {
        if (reportsOnly) {
            win::UniqueKey root = BenchTree(sizes[s]);
            list.ClearRows();
            list.Scan(root.get());
            break;
        }
        const double built = Now();
        win::UniqueKey root = BenchTree(sizes[s]);
        const double buildSeconds = Now() - built;
        RawWalk(root.get());  // warm the registry and the file cache alike for both
        std::vector<double> raw, scan;
        for (int r = 0; r < repeats[s]; ++r) {
            raw.push_back(Time([&] { RawWalk(root.get()); }));
            scan.push_back(Time([&] {
                list.ClearRows();
                list.Scan(root.get());
            }));
        }
        const double rawSeconds = Median(raw), scanSeconds = Median(scan);
        const double ratio = scanSeconds / rawSeconds;
        met = met && ratio <= 1.25;
        char growth[2][32] = {"-", "-"};
        if (s > 0) {
            std::snprintf(growth[0], sizeof growth[0], "x%.2f", rawSeconds / previousRaw);
            std::snprintf(growth[1], sizeof growth[1], "x%.2f", scanSeconds / previousScan);
            if (s == 2) met = met && scanSeconds / previousScan <= 5.5;
        }
        std::printf("%-8d %8d %12.3f %12.3f %8.3f %12s %12s   (tree built in %.1f s)\n", sizes[s], list.RowCount(),
                    rawSeconds, scanSeconds, ratio, growth[0], growth[1], buildSeconds);
        previousRaw = rawSeconds;
        previousScan = scanSeconds;
    }

    // The least that any report of the stored rows does: read one byte of every visible
    // stored text. The texts of a row lie in separate cache lines of a large block.
    list.ComputeVisibleColumns();
    std::vector<std::ptrdiff_t> offsets;
    if (const RowRecord* first = list.RowAt(0)) {
        for (int p = 0; p < list.VisibleCount(); ++p)
            if (const char* field = first->StoredText(list.VisibleColumn(p)))
                offsets.push_back(field - reinterpret_cast<const char*>(first));
    }
    std::vector<double> touches;
    unsigned touched = 0;
    for (int r = 0; r < 9; ++r) {
        touches.push_back(Time([&] {
            for (int i = 0; i < list.RowCount(); ++i) {
                const char* base = reinterpret_cast<const char*>(list.RowAt(i));
                for (std::ptrdiff_t offset : offsets) touched += static_cast<unsigned char>(base[offset]);
            }
        }));
    }
    std::printf("\none byte of each of the %d stored texts in %d rows: %.4f s (sum %u)\n", static_cast<int>(offsets.size()),
                list.RowCount(), Median(touches), touched);
    std::printf("\n%-28s %10s %12s %12s %8s\n", "report of the largest size", "bytes", "report s", "one write s",
                "ratio");
    const char* names[] = {"text", "tab-delimited", "tabular", "HTML rows", "HTML tables", "XML"};
    for (int format = 1; format <= 6; ++format) {
        const std::string path = Output("bench-report.out");
        const std::string copy = Output("bench-copy.out");
        std::vector<double> report, single;
        std::string bytes;
        for (int r = 0; r < 9; ++r) {
            report.push_back(Time([&] { list.WriteStoredRows(path.c_str(), format); }));
            if (bytes.empty()) {
                win::UniqueFile in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
                DWORD size = GetFileSize(in.get(), nullptr), read = 0;
                bytes.resize(size);
                ReadFile(in.get(), &bytes[0], size, &read, nullptr);
            }
            single.push_back(Time([&] {
                win::UniqueFile out(CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
                DWORD written = 0;
                WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            }));
        }
        const double ratio = Median(report) / Median(single);
        met = met && ratio <= 3.0;
        std::printf("%-28s %10u %12.4f %12.4f %8.2f\n", names[format - 1], static_cast<unsigned>(bytes.size()),
                    Median(report), Median(single), ratio);
        DeleteFileA(path.c_str());
        DeleteFileA(copy.c_str());
    }

    std::vector<double> sorts;
    for (int r = 0; r < 3; ++r) {
        list.ClearSortKeys();
        list.AddSortKey(r % 2 == 0 ? "2" : "3", false);
        list.AddSortKey("0", r % 2 != 0);
        sorts.push_back(Time([&] { list.SortStoredRows(); }));
    }
    std::printf("\ncommand-line sort of %d rows on two keys: %.3f s\n", list.RowCount(), Median(sorts));
    std::printf("targets (scan/raw <= 1.25, 50k/10k scan <= 5.5, report/write <= 3): %s\n", met ? "met" : "NOT met");
    return 0;
}
