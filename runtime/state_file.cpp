// Writing and reading the state file: the text codec over the atomic writer.
#include "runtime/state_file.h"

#include "runtime/atomic_file.h"
#include "runtime/datapath.h"

#include <cstdio>

int WriteStateFile(const char* path, const String& state) {
    return WriteFileAtomically(path, EncodeStateText(state));
}

String ReadStateFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return String();
    std::string bytes = ReadWholeFile(file);
    std::fclose(file);
    return DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
