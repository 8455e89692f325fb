// The data packages that come after the first menu (the effects and play art,
// the sharper art levels): which package holds which file, a fetch queued by
// the first question about one of its files, one package at a time in the
// order asked so the first asked arrives first, and the files written into
// the data folder once all its bytes have come. A package that keeps failing
// is given up after a few tries, so the game goes on with what it has.
#include "web/data_packages.h"

#include <emscripten.h>

namespace {
// Packages that have arrived or been given up; the game looks again when it moves.
unsigned arrivals = 0;
} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void web_data_arrived() {
    ++arrivals;
}

// clang-format off
EM_JS(void, web_packages_begin, (), {
    var packages = Object.create(null);
    var tries = 4;
    var queue = [];
    var busy = false;
    Module.dataPackages = packages;
    var manifest = Module.dataManifest;
    if (!manifest) return; // everything is in the first package
    var settle = function(pack, state) {
        pack.state = state;
        pack.settledAt = performance.now();
        busy = false;
        Module._web_data_arrived();
        next();
    };
    var next = function() {
        if (busy || !queue.length) return;
        busy = true;
        fetchPackage(queue.shift());
    };
    var fetchPackage = function(pack) {
        pack.state = "fetching";
        fetch(locateFile(pack.url)).then(function(response) {
            if (!response.ok) throw new Error("HTTP " + response.status);
            return response.arrayBuffer();
        }).then(function(buffer) {
            if (buffer.byteLength != pack.bytes)
                throw new Error(buffer.byteLength + " of " + pack.bytes + " bytes");
            pack.files.forEach(function(file) {
                var path = "/data/" + file[0];
                FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
                FS.writeFile(path, new Uint8Array(buffer, file[1], file[2]));
            });
            settle(pack, "ready");
        }).catch(function(error) {
            pack.tries += 1;
            if (pack.tries < tries) {
                pack.state = "waiting";
                setTimeout(function() { fetchPackage(pack); }, 1000 * pack.tries);
                return;
            }
            console.warn("Data package " + pack.url + " could not be fetched (" + (error.message || error) +
                         "): the game goes on without it.");
            settle(pack, "failed");
        });
    };
    manifest.packages.forEach(function(pack) {
        if (pack.first) return; // written before the program started
        pack.state = "wanted";
        pack.tries = 0;
        pack.start = function() {
            pack.state = "queued";
            queue.push(pack);
            next();
        };
        pack.files.forEach(function(file) { packages[file[0]] = pack; });
    });
});

EM_JS(int, web_data_file_ready, (const char* name), {
    var pack = Module.dataPackages && Module.dataPackages[UTF8ToString(name)];
    if (!pack || pack.state == "ready" || pack.state == "failed") return 1;
    if (pack.state == "wanted") pack.start();
    return 0;
});
// clang-format on

void WebPackagesBegin() {
    web_packages_begin();
}

bool WebDataFileReady(const char* name) {
    return web_data_file_ready(name) != 0;
}

unsigned WebDataArrivals() {
    return arrivals;
}
