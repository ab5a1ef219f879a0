// The program's entry point. It takes no arguments.
#include <cstdio>

int main() {
  std::puts("NerivoAVI/MPEG格式转换器: the main window is not built yet; nothing to start.");
  return 0;
}
