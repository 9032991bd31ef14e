// Runs the plug-in's main job against a simulated Counter-Strike and Winamp:
// the player types console lines, Winamp receives its commands, the help text
// goes to the game's port, and Vireo.cfg appears in the mod directory.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "player/WinampIpc.h"
#include "support/FakeEngine.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"
#include "support/UdpListener.h"

using namespace vireo;
using namespace vireo::test;

namespace {

std::string describe(const WinampMessage& m) {
    std::ostringstream out;
    out << m;
    return out.str();
}

// The composer and the script writer ask Winamp about the track all the
// time; the demonstration shows only what changes Winamp.
bool changesWinamp(const WinampMessage& m) {
    if (m.kind != MessageKind::Request) return true;
    for (int query : {IPC_GETVERSION, IPC_ISPLAYING, IPC_GETOUTPUTTIME, IPC_GETLISTPOS, IPC_GETINFO,
                      IPC_GETPLAYLISTTITLE})
        if (m.id == query) return false;
    return true;
}

void type(FakeGameProcess& game, FakeWinamp& winamp, const std::string& line,
          const char* whyNothing = "") {
    winamp.clear();
    std::printf("\n> %s\n", line.c_str());
    game.writeCapturedLine(line);
    pumpUntil([&] { return game.capturedLineBytes() == std::string(256, '\0'); },
              std::chrono::seconds(2));
    pumpMessagesFor(std::chrono::milliseconds(100));
    bool any = false;
    for (const WinampMessage& m : winamp.messages()) {
        if (!changesWinamp(m)) continue;
        std::printf("  Winamp got %s\n", describe(m).c_str());
        any = true;
    }
    if (!any) std::printf("  (nothing for Winamp%s)\n", whyNothing);
}

}  // namespace

int main() {
    deleteSettingsKey();
    FakeWinamp winamp;
    winamp.setTitle("Demo Band - First Light");
    winamp.setPlayStatus(IPC_PLAYING);
    winamp.setPosition(61500);
    winamp.setLength(245);

    const FakeGameOptions options = counterStrikeOptions();
    FakeGameProcess game(options);
    if (!game.start()) {
        std::printf("the simulated game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    // The file that ships (tools/build.sh names it), else the build's own.
    const std::string path = shippedDllPath().empty() ? pluginDllPath() : shippedDllPath();
    LoadedPlugin plugin(path);
    if (!plugin.loaded()) {
        std::printf("%s did not load\n", path.c_str());
        return 1;
    }
    std::printf("Winamp loaded %s\n  (%s);\nthe game runs as %s in %s\n",
                plugin.record()->description, path.c_str(), options.exeName.c_str(),
                game.directory().c_str());
    plugin.init(winamp.handle());

    type(game, winamp, "Vireo NextTrack 2");
    type(game, winamp, "vireo setvolume 128");
    type(game, winamp, "VIREO Play", ": the command word is Vireo or vireo");
    {
        UdpListener client(27005);
        type(game, winamp, "Vireo Help");
        if (auto datagram = client.receive(std::chrono::seconds(2))) {
            const std::string text(datagram->begin() + 5, datagram->end() - 1);
            std::printf("  the game console received %zu bytes; it begins:%s\n", datagram->size(),
                        text.substr(0, text.find('\n', 60)).c_str());
        }
    }

    const std::string script = game.modDirectory() + "Vireo.cfg";
    pumpUntil([&] { return std::ifstream(script).good(); }, std::chrono::seconds(3));
    std::ifstream file(script);
    std::string first;
    std::getline(file, first);
    std::printf("\n%s begins:\n  %s\n", script.c_str(), first.c_str());

    // The display: the hook maps the DLL into the game, whose engine then
    // prints the composed lines every tick while ShowGUI is 1.
    type(game, winamp, "Vireo ShowGUI");
    FakeEngine engine(game);
    pumpUntil([&] { return engine.vireoLoaded(); }, std::chrono::seconds(8));
    std::printf("\nThe game's engine drew:\n");
    if (const auto tick = engine.nextTick(std::chrono::seconds(8))) {
        for (const auto& print : *tick)
            std::printf("  row %2d: %s\n", static_cast<int>(print.row), print.text);
    } else {
        std::printf("  (nothing yet)\n");
    }
    plugin.unload();
    return 0;
}
