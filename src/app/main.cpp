// The designer's entry point.
#include "app/ui/uApplicationStart.h"

int main(int argc, char** argv) {
    return RunApplication(argc, argv);
}
