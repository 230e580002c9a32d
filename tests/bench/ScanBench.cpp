// Measures the registry scan against the raw registry walk it cannot avoid, the report
// writers against one write of the same bytes, the main window's reload against the scan
// plus a bare fill of a list view, and the command-line sort against a sort of row
// indices, on synthetic classes trees of three sizes.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/MainWindow.h"
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

// Megabytes of the process's working set now and at its peak so far.
void PrintWorkingSet(const char* after) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    std::printf("%-32s working set %7.1f MB, peak %7.1f MB\n", after, counters.WorkingSetSize / 1048576.0,
                counters.PeakWorkingSetSize / 1048576.0);
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The least a reload must do beside the scan: a list view of the same columns in a hidden
// window gets every item and each sub-item text once, from texts worked out beforehand.
double BareFill(const std::vector<std::vector<std::string>>& texts, int columns) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND view = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800, 600, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>("c");
        SendMessageA(view, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    const double seconds = Time([&] {
        SendMessageA(view, WM_SETREDRAW, FALSE, 0);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(texts[i][0].c_str());
            item.lParam = static_cast<LPARAM>(i);
            const int index = static_cast<int>(SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
            for (int c = 1; c < columns; ++c) {
                LVITEMA sub = {};
                sub.iSubItem = c;
                sub.pszText = const_cast<char*>(texts[i][c].c_str());
                SendMessageA(view, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
            }
        }
        SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    });
    DestroyWindow(parent);
    DrainMessages();
    return seconds;
}

// The main window's reload over a tree against the scan of the same tree plus the bare
// fill of the same texts, alternating; medians.
double ReloadAgainstScanAndFill(HKEY root, int repeats) {
    MainWindow window;
    window.Items().SetScanRoot(root);
    if (!window.Create()) {
        std::printf("the main window could not be created\n");
        return 0;
    }
    MainSettings settings;
    settings.SetDefaults();
    MenuItemList list(&settings.HideStandardItems);
    list.Attach(nullptr);
    std::vector<double> reloads, scans, fills;
    for (int r = 0; r < repeats; ++r) {
        reloads.push_back(Time([&] { SendMessageA(window.Handle(), MainWindow::kReload, 0, 0); }));
        DrainMessages();
        scans.push_back(Time([&] {
            list.ClearRows();
            list.Scan(root);
        }));
        std::vector<std::vector<std::string>> texts(static_cast<std::size_t>(list.RowCount()));
        char buffer[1024];
        for (int i = 0; i < list.RowCount(); ++i)
            for (int c = 0; c < list.ColumnCount(); ++c) {
                buffer[0] = '\0';
                const char* text = list.RowText(*list.RowAt(i), c, buffer, sizeof buffer);
                texts[static_cast<std::size_t>(i)].push_back(text != nullptr ? text : "");
            }
        fills.push_back(BareFill(texts, list.ColumnCount()));
    }
    const double reload = Median(reloads), base = Median(scans) + Median(fills);
    std::printf("%-8d %8d %12.3f %12.3f %12.3f %8.2f\n", list.RowCount(), window.Items().RowCount(), reload,
                Median(scans), Median(fills), reload / base);
    DestroyWindow(window.Handle());
    DrainMessages();
    return reload / base;
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
        // The smallest tree's ratio is within the noise of its short walk.
        if (s > 0) met = met && ratio <= 1.05;
        char growth[2][32] = {"-", "-"};
        if (s > 0) {
            std::snprintf(growth[0], sizeof growth[0], "x%.2f", rawSeconds / previousRaw);
            std::snprintf(growth[1], sizeof growth[1], "x%.2f", scanSeconds / previousScan);
            if (s == 2) met = met && scanSeconds / previousScan <= rawSeconds / previousRaw + 0.1;
        }
        std::printf("%-8d %8d %12.3f %12.3f %8.3f %12s %12s   (tree built in %.1f s)\n", sizes[s], list.RowCount(),
                    rawSeconds, scanSeconds, ratio, growth[0], growth[1], buildSeconds);
        previousRaw = rawSeconds;
        previousScan = scanSeconds;
        char after[64];
        std::snprintf(after, sizeof after, "after the scans of %d verbs:", sizes[s]);
        PrintWorkingSet(after);
    }

    if (!reportsOnly) {
        std::printf("\n%-8s %8s %12s %12s %12s %8s\n", "reload", "rows", "reload s", "scan s", "bare fill s",
                    "ratio");
        for (int s = 0; s < 2; ++s) {
            win::UniqueKey root = BenchTree(sizes[s]);
            met = ReloadAgainstScanAndFill(root.get(), repeats[s]) <= 1.5 && met;
        }
    }

    // The least that any report of the stored rows does: read one byte of every visible
    // stored text. The texts of a row lie in separate cache lines of a large block; like
    // the reports, the loop asks for a later row's lines ahead (the best distance measured).
    list.ComputeVisibleColumns();
    std::vector<std::ptrdiff_t> offsets;
    if (const RowRecord* first = list.RowAt(0)) {
        for (int p = 0; p < list.VisibleCount(); ++p)
            if (const char* field = first->StoredText(list.VisibleColumn(p)))
                offsets.push_back(field - reinterpret_cast<const char*>(first));
    }
    constexpr int kRowsAhead = 8;
    std::vector<double> touches;
    unsigned touched = 0;
    for (int r = 0; r < 9; ++r) {
        touches.push_back(Time([&] {
            for (int i = 0; i < list.RowCount(); ++i) {
                if (const RowRecord* later = list.RowAt(i + kRowsAhead)) {
                    const char* ahead = reinterpret_cast<const char*>(later);
                    for (std::ptrdiff_t offset : offsets) StoredTextOffsets::Prefetch(ahead + offset);
                }
                const char* base = reinterpret_cast<const char*>(list.RowAt(i));
                for (std::ptrdiff_t offset : offsets) touched += static_cast<unsigned char>(base[offset]);
            }
        }));
    }
    const double leastRead = Median(touches);
    std::printf("\none byte of each of the %d stored texts in %d rows: %.4f s (sum %u)\n", static_cast<int>(offsets.size()),
                list.RowCount(), leastRead, touched);
    // The floor is the ratio of a report that did nothing but that read and the single write.
    // Each run replaces the file of the run before, as a report saved again does; creating
    // it truncates that file, which costs the kernel a varying part of the time, alike for
    // the report and the single write. The last two columns time both into a new file.
    std::printf("\n%-28s %10s %12s %12s %8s %8s %12s %8s\n", "report of the largest size", "bytes", "report s",
                "one write s", "ratio", "floor", "new file: s", "ratio");
    const char* names[] = {"text", "tab-delimited", "tabular", "HTML rows", "HTML tables", "XML"};
    for (int format = 1; format <= 6; ++format) {
        const std::string path = Output("bench-report.out");
        const std::string copy = Output("bench-copy.out");
        std::vector<double> report, single, newReport, newSingle;
        std::string bytes;
        auto writeCopy = [&] {
            win::UniqueFile out(CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        };
        for (int r = 0; r < 9; ++r) {
            report.push_back(Time([&] { list.WriteStoredRows(path.c_str(), format); }));
            if (bytes.empty()) {
                win::UniqueFile in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
                DWORD size = GetFileSize(in.get(), nullptr), read = 0;
                bytes.resize(size);
                ReadFile(in.get(), &bytes[0], size, &read, nullptr);
            }
            single.push_back(Time(writeCopy));
            DeleteFileA(path.c_str());
            newReport.push_back(Time([&] { list.WriteStoredRows(path.c_str(), format); }));
            DeleteFileA(copy.c_str());
            newSingle.push_back(Time(writeCopy));
        }
        const double ratio = Median(report) / Median(single);
        met = met && ratio <= 1.5;
        std::printf("%-28s %10u %12.4f %12.4f %8.2f %8.2f %12.4f %8.2f\n", names[format - 1],
                    static_cast<unsigned>(bytes.size()), Median(report), Median(single), ratio,
                    (leastRead + Median(single)) / Median(single), Median(newReport),
                    Median(newReport) / Median(newSingle));
        DeleteFileA(path.c_str());
        DeleteFileA(copy.c_str());
    }

    // The sort of the rows against a sort of their indices with the same comparison, from
    // the same order: the least any sort of these rows does.
    std::vector<double> sorts, indexSorts;
    for (int r = 0; r < 5; ++r) {
        list.ClearSortKeys();
        list.AddSortKey(r % 2 == 0 ? "2" : "3", false);
        list.AddSortKey("0", r % 2 != 0);
        std::vector<int> order(static_cast<std::size_t>(list.RowCount()));
        for (int i = 0; i < list.RowCount(); ++i) order[static_cast<std::size_t>(i)] = i;
        indexSorts.push_back(Time([&] {
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return list.CompareByKeys(*list.RowAt(a), *list.RowAt(b)) < 0; });
        }));
        sorts.push_back(Time([&] { list.SortStoredRows(); }));
    }
    const double sortRatio = Median(sorts) / Median(indexSorts);
    met = met && sortRatio <= 1.2;
    std::printf("\ncommand-line sort of %d rows on two keys: %.3f s, indices alone %.3f s, ratio %.2f\n",
                list.RowCount(), Median(sorts), Median(indexSorts), sortRatio);
    PrintWorkingSet("at the end:");
    std::printf("targets (scan/raw <= 1.05 at 10k and 50k, 50k/10k scan growth <= raw growth + 0.1, report/write <= 1.5, reload/(scan+fill) <= 1.5, sort/indices <= 1.2): %s\n",
                met ? "met" : "NOT met");
    return 0;
}
