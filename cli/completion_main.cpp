// Writes the bash completion of vortalis-report to FILE; run at build time.
#include <fstream>

#include "cli/bash_completion.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  std::ofstream file(argv[1], std::ios::binary);
  file << vortalis::cli::BashCompletionScript();
  return file.flush() ? 0 : 1;
}
