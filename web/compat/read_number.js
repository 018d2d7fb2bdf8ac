// The browser's own reading of a decimal number's text (exact, and fast): for compat.h, which
// the core's web build reads its shortest number texts back with.
mergeInto(LibraryManager.library, {
  kegverter_web_read_number: function(text) {
    return Number(UTF8ToString(text));
  },
});
