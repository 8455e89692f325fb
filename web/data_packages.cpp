// The art level packages: which package holds which file, a fetch started by
// the first question about one of its files, and the files written into the
// data folder once all its bytes have come. A package that keeps failing is
// given up after a few tries, so the game loads what exists.
#include "web/data_packages.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, web_packages_begin, (), {
    var packages = Object.create(null);
    var tries = 4;
    Module.dataPackages = packages;
    var manifest;
    try {
        manifest = JSON.parse(FS.readFile("/packages.json", { encoding: "utf8" }));
    } catch (e) {
        return; // everything is in the preloaded data
    }
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
            pack.state = "ready";
        }).catch(function(error) {
            pack.tries += 1;
            if (pack.tries < tries) {
                pack.state = "waiting";
                setTimeout(function() { fetchPackage(pack); }, 1000 * pack.tries);
                return;
            }
            pack.state = "failed";
            console.warn("Art package " + pack.url + " could not be fetched (" + (error.message || error) +
                         "): the game goes on without its pictures.");
        });
    };
    manifest.packages.forEach(function(pack) {
        pack.state = "wanted";
        pack.tries = 0;
        pack.start = function() { fetchPackage(pack); };
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
