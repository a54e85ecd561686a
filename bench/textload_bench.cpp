// Loads and writes back messages of growing size and prints the times, to
// show that loading and writing are linear in the number of lines.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "textlib/iolist.h"

int main() {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "salvetor-bench";
  fs::create_directories(dir);
  for (int lines : {8000, 16000, 32000, 65535}) {
    std::string name = (dir / "msg.txt").string();
    {
      std::ofstream out(name, std::ios::binary);
      for (int i = 0; i < lines; ++i) out << " XY> quoted line number " << i << " of the message\r\n";
    }
    auto start = std::chrono::steady_clock::now();
    listman::List* list = nullptr;
    int r = iolist::TextLoad(name, list, files::optRead);
    auto loaded = std::chrono::steady_clock::now();
    int w = iolist::TextWrite(name, list, "", files::optRewrite | files::optBackup);
    auto written = std::chrono::steady_clock::now();
    listman::ListDisposeAll(list);
    auto ms = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
    std::printf("%6d lines: load %7.2f ms, write %7.2f ms (results %d, %d)\n", lines,
                ms(start, loaded), ms(loaded, written), r, w);
  }
  fs::remove_all(dir);
}
