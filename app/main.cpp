// rkedit: the stage editor. The editor itself lives in the rkgui library.
#include <cstdio>

int main() {
    std::fprintf(stderr, "rkedit: the editor window is not built yet\n");
    return 1;
}
