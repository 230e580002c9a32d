// Stands in for the browser and the HTML viewer in the tests: appends the command line it
// was started with, and a line end, to morvane_opened.txt in the temporary folder.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    char path[MAX_PATH + 32];
    std::snprintf(path, sizeof path, "%smorvane_opened.txt", folder);
    FILE* log = std::fopen(path, "ab");
    if (log == nullptr) return 1;
    std::fprintf(log, "%s\r\n", commandLine);
    std::fclose(log);
    return 0;
}
