// Salvetor: prepares a FidoNet reply in place. See README.md.
#include <new>

#include "app/run.h"
#include "app/startup.h"
#include "runtime/error.h"

int main(int argc, char** argv) {
  startup::StartUp(argc, argv);
  try {
    run::RunProgram();
  } catch (const std::bad_alloc&) {
    error::RunError(203);  // not enough memory
  }
}
