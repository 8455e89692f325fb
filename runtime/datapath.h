// Data paths: the "cobalt://" schemes, the text codec that the state file and
// LoadString share, whole-file reads and the byte buffer BBDataBuffer.
#pragma once

#include "runtime/runtime.h"

#include <cstdio>

String bb_data_FixDataPath(const String& path);

// Opens a file named in scheme form or as a plain path; null when it cannot.
FILE* fopenFile(const String& path, const String& mode);

// UTF-8 encoding of each 16-bit code unit on its own (no byte-order mark).
std::string EncodeStateText(const String& text);
// Decodes a whole file's bytes: UTF-16 marks honoured, UTF-8 mark skipped,
// invalid UTF-8 reported and returned one byte per code unit.
String DecodeStateText(const unsigned char* bytes, size_t count);

// Reads a whole open file; the file is left open.
std::string ReadWholeFile(FILE* file);

class BBDataBuffer : public gxtkObject {
  public:
    unsigned char* bytes = nullptr;
    int byteCount = 0;

    BBDataBuffer() = default;
    ~BBDataBuffer() override;
    BBDataBuffer(const BBDataBuffer&) = delete;
    BBDataBuffer& operator=(const BBDataBuffer&) = delete;

    bool _New(int length);
    bool _Load(const String& path);
    void Discard();
    int Length() const { return byteCount; }
    unsigned char* ReadPointer(int offset) { return bytes + offset; }
    unsigned char* WritePointer(int offset) { return bytes + offset; }
    void PokeByte(int offset, int value);
    void PokeShort(int offset, int value);
    void PokeInt(int offset, int value);
    void PokeFloat(int offset, float value);
    int PeekByte(int offset) const;
    int PeekShort(int offset) const;
    int PeekInt(int offset) const;
    float PeekFloat(int offset) const;
};
