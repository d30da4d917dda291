// Races on purpose, on a string or on a number, for the ThreadSanitizer build to report: the
// suppressions that quiet the libraries we load must leave our own code's races in view.
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string sharedText;
int sharedNumber = 0;

// Runs work(0) on a thread of its own and work(1) on this one, at the same time.
template <typename Work>
void FromTwoThreads(Work work) {
  std::thread other(work, 0);
  work(1);
  other.join();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "string") == 0) {
    const std::string a(100, 'a'), b(200, 'b');
    FromTwoThreads([&](int which) {
      for (int i = 0; i < 1000; ++i) sharedText = which ? a : b;
    });
    return sharedText.empty() ? 2 : 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "number") == 0) {
    FromTwoThreads([](int) {
      for (int i = 0; i < 1000; ++i) ++sharedNumber;
    });
    return sharedNumber > 0 ? 0 : 2;
  }
  return 2;
}
