// The start of the page's program: the first menu's data package, which the
// page began to download beside the program itself (or, on a page that did
// not, fetched here), is written into the data folder before the program
// starts. The packages that come later are the platform's (data_packages.cpp).
Module.preRun = [].concat(Module.preRun || []);
Module.preRun.push(function () {
  var first = Module.dataManifest.packages.filter(function (pack) { return pack.first; })[0];
  addRunDependency("first data");
  var download = Module.firstDataDownload || fetch(locateFile(first.url)).then(function (response) {
    if (!response.ok) throw new Error("HTTP " + response.status);
    return response.arrayBuffer();
  });
  download.then(function (buffer) {
    if (buffer.byteLength < first.bytes) throw new Error(buffer.byteLength + " of " + first.bytes + " bytes");
    first.files.forEach(function (file) {
      var path = "/data/" + file[0];
      FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
      FS.writeFile(path, new Uint8Array(buffer, file[1], file[2]));
    });
    removeRunDependency("first data");
  }).catch(function (error) {
    abort(first.url + " could not be loaded (" + (error.message || error) + ")");
  });
});
