// State file fuzz target: any bytes as ".cobaltstate", decoded by the host's
// text codec and loaded by the real game's m_Load. Whatever was loaded must
// then save to a text that loads back whole.
#include "../tests/game/harness.h"
#include "fuzz_file.h"
#include "host/datapath.h"

namespace {

struct Sections {
    Array<int> settings;
    Array<bool> badges;
    Array<int> highscores;

    static Sections Of(const bb_Skitterbat_MyApp& game) {
        return {game.Settings, game.Badges, game.Highscores};
    }
    void Into(bb_Skitterbat_MyApp& game) const {
        game.Settings = settings;
        game.Badges = badges;
        game.Highscores = highscores;
    }
    bool operator==(const Sections& other) const {
        return Same(settings, other.settings) && Same(badges, other.badges) &&
               Same(highscores, other.highscores);
    }
    template <class T> static bool Same(const Array<T>& a, const Array<T>& b) {
        if (a.Length() != b.Length()) return false;
        for (int i = 0; i < a.Length(); ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
};

void CheckCodec(const uint8_t* data, size_t size) {
    String text = DecodeStateText(data, size);
    // Whatever decodes must survive a save and a load, except a leading U+FEFF,
    // which reads back as a byte-order mark.
    if (text.Length() > 0 && text[0] == 0xFEFF) return;
    std::string bytes = EncodeStateText(text);
    String again = DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (again != text) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GameHarness harness;
    static const Sections defaults = Sections::Of(harness.game);
    static const std::string state = harness.Dir() + "/.cobaltstate";
    bb_Skitterbat_MyApp& game = harness.game;

    CheckCodec(data, size);

    FuzzFile::WriteTo(state, data, size);
    defaults.Into(game);
    game.m_Load();
    if (game.Settings[2] < 1 || game.Settings[10] < 64 || game.Settings[11] < 64 || game.Settings[12] < 8)
        std::abort();
    if (game.TiltSensitivity != static_cast<float>(game.Settings[2])) std::abort();

    // A loaded state saves and loads back whole. The saved text is made from
    // the three sections alone, so equal sections also mean an identical save,
    // and sections already proven need no second proof: most inputs fail their
    // checksums and load one of the same few reset states.
    static Sections proven[4];
    static size_t nextProven = 0;
    const Sections loaded = Sections::Of(game);
    for (const Sections& known : proven)
        if (known == loaded) return 0;
    game.m_Save();
    defaults.Into(game);
    game.m_Load();
    if (!(Sections::Of(game) == loaded)) std::abort();
    proven[nextProven++ % 4] = loaded;
    return 0;
}
