// Prints the text of the message box captioned "Varnolt" that is showing now,
// so a test that drives the program from outside can read what it says.
// Exits 1 when no such box shows within the given milliseconds (default 5000).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    int waitMs = argc > 1 ? std::atoi(argv[1]) : 5000;
    for (int waited = 0; waited <= waitMs; waited += 50) {
        HWND box = FindWindowA("#32770", "Varnolt");
        if (box && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF)) {
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::printf("%s\n", text);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
