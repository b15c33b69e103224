// Zobu 4 platform floor: the browser host's JavaScript half, linked into zobu4.js. It talks to
// the page through `Module.zobu` (page.js sets it up): the canvas, the dialog, the end.
mergeInto(LibraryManager.library, {
  // Gives the browser its turn until `ms` have passed (forever when negative) or input comes:
  // Asyncify unwinds the program's stack here and winds it back when one of them happens.
  zobu_js_sleep: function (ms) {
    Asyncify.handleSleep(function (wakeUp) {
      var z = Module.zobu;
      var timer = 0;
      var woken = false;
      z.wake = function () {
        if (woken) return;
        woken = true;
        z.wake = null;
        if (timer) clearTimeout(timer);
        wakeUp();
      };
      if (ms >= 0) timer = setTimeout(z.wake, ms);
    });
  },

  // Puts a rectangle of the program's canvas pixels (RGBA, a screen's width a row) on the
  // canvas.
  zobu_js_put: function (rgba, screenWidth, screenHeight, x, y, width, height) {
    var z = Module.zobu;
    // The view is made again whenever the program's memory has grown (a new buffer).
    if (!z.image || z.image.data.buffer !== HEAPU8.buffer || z.imageAt !== rgba) {
      z.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba,
                                                    screenWidth * screenHeight * 4),
                              screenWidth, screenHeight);
      z.imageAt = rgba;
    }
    z.context.putImageData(z.image, 0, 0, x, y, width, height);
    z.painted(performance.now(), x, y, width, height);
  },

  zobu_js_message_box: function (text, title, style) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.zobu.messageBox(UTF8ToString(text), UTF8ToString(title), style, wakeUp);
    });
  },

  zobu_js_show_cursor: function (visible) {
    Module.zobu.canvas.style.cursor = visible ? 'default' : 'none';
  },

  zobu_js_keep_snapshot: function (name, pixels, count) {
    Module.zobu.snapshots[UTF8ToString(name)] = HEAPU16.slice(pixels >> 1, (pixels >> 1) + count);
  },

  zobu_js_ended: function (status) {
    Module.zobu.ended(status);
  },
});
