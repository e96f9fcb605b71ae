// The exported entry of the 64-bit getters. Apart from the objects themselves, so that a program
// that links the library's core with an instance of its own can answer this entry itself.
#include "Objects.h"

IWideValues* MondrelWideValues(Mondrel* instance) {
    return instance ? &mondrel::LibraryWideValues() : nullptr;
}
