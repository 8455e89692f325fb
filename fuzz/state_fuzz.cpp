// State file fuzz target: any bytes as ".cobaltstate", decoded by the host's
// text codec and loaded by the real game's m_Load. Whatever was loaded must
// then save to a text that loads back whole.
#include "harness.h"
#include "fuzz_file.h"
#include "runtime/atomic_file.h"
#include "runtime/datapath.h"

#include <algorithm>
#include <array>

namespace {

// The three saved sections, copied in place: whole-array copies and compares
// go through memmove and memcmp rather than one traced comparison per element.
struct Sections {
    std::array<int, 25> settings{};
    std::array<bool, 256> badges{};
    std::array<int, 60> highscores{};

    void CopyFrom(const bb_Skitterbat_MyApp& game) {
        // A load never resizes a section.
        if (game.Settings.Length() != 25 || game.Badges.Length() != 256 || game.Highscores.Length() != 60)
            std::abort();
        std::copy(game.Settings.begin(), game.Settings.end(), settings.begin());
        std::copy(game.Badges.begin(), game.Badges.end(), badges.begin());
        std::copy(game.Highscores.begin(), game.Highscores.end(), highscores.begin());
    }
    void CopyTo(bb_Skitterbat_MyApp& game) const {
        std::copy(settings.begin(), settings.end(), game.Settings.begin());
        std::copy(badges.begin(), badges.end(), game.Badges.begin());
        std::copy(highscores.begin(), highscores.end(), game.Highscores.begin());
    }
    bool operator==(const Sections&) const = default;
};

void CheckCodec(const uint8_t* data, size_t size) {
    String text = DecodeStateText(data, size);
    // Whatever decodes must survive a save and a load, except a leading U+FEFF,
    // which reads back as a byte-order mark.
    if (text.Length() > 0 && text[0] == 0xFEFF) return;
    std::string bytes = EncodeStateText(text);
    // Bytes that encode back to themselves decode to the same text: no second decode.
    if (bytes.size() == size && std::equal(bytes.begin(), bytes.end(), data)) return;
    String again = DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (again != text) std::abort();
}

} // namespace

// Saves go to a memory file system thousands of times a second: flushing proves nothing there.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetFlushOnWrite(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GameHarness harness;
    static Sections defaults, loaded, reloaded;
    static KeptFile state(harness.Dir() + "/.cobaltstate");
    static bool started = false;
    bb_Skitterbat_MyApp& game = harness.game;
    if (!started) {
        defaults.CopyFrom(game);
        started = true;
    }

    CheckCodec(data, size);

    state.Write(data, size);
    defaults.CopyTo(game);
    game.m_Load();
    if (game.Settings[2] < 1 || game.Settings[10] < 64 || game.Settings[11] < 64 || game.Settings[12] < 8)
        std::abort();
    if (game.TiltSensitivity != static_cast<float>(game.Settings[2])) std::abort();

    // A loaded state saves and loads back whole. The saved text is made from
    // the three sections alone, so equal sections also mean an identical save,
    // and sections already proven need no second proof: most inputs fail their
    // checksums and load one of the same few reset states.
    static Sections proven[4];
    static size_t provenCount = 0;
    loaded.CopyFrom(game);
    for (size_t i = 0; i < provenCount && i < 4; ++i)
        if (proven[i] == loaded) return 0;
    game.m_Save();
    state.Reopen(); // the save renamed a new file over it
    defaults.CopyTo(game);
    game.m_Load();
    reloaded.CopyFrom(game);
    if (!(reloaded == loaded)) std::abort();
    proven[provenCount++ % 4] = loaded;
    return 0;
}
