// Zobu 4 in a browser: the page around the program. It fetches the art into the program's
// file system, lays the canvas out at a whole-number scale, turns keys, the pointer and game
// controllers into the program's input, shows its message boxes and says when it ended.
// The program itself (zobu4.js, zobu4.wasm) and its host's JavaScript half (web_host.js)
// reach the page through Module.zobu.
'use strict';

(function () {
  // The art, as the build lists it: each file is fetched gzipped and unpacked into Bitmaps/.
  const ART = @ZOBU_ART@;
  const WIDTH = 640, HEIGHT = 480;

  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const params = new URLSearchParams(location.search);
  const scriptName = params.get('script');
  const args = [];
  let lastError = '';

  // Module.zobu: what web_host.js and the tests use.
  const zobu = {
    canvas: canvas,
    context: canvas.getContext('2d', { alpha: false }),
    snapshots: {},
    wake: null,
    status: null,        // WinMain's result, once it has returned
    firstPaint: null,    // performance.now() of the first picture on the canvas
    onPaint: null,       // a hook for benchmarks: (time, x, y, width, height)
    painted(time, x, y, width, height) {
      if (zobu.firstPaint === null) zobu.firstPaint = time;
      if (zobu.onPaint) zobu.onPaint(time, x, y, width, height);
    },
    messageBox(text, title, style, done) {
      const error = (style & 0x10) !== 0; // MB_ICONHAND
      // The console gets the text too; an error the program reports is its own, not the page's.
      (error ? console.warn : console.log)(title + ': ' + text);
      if (error) lastError = text;
      $('message-title').textContent = title;
      $('message-text').textContent = text;
      $('message').hidden = false;
      $('message-ok').focus();
      $('message-ok').onclick = () => {
        $('message').hidden = true;
        canvas.focus();
        done(1); // IDOK
      };
    },
    ended(status) {
      zobu.status = status;
      // Exit status 1 is a start that failed (art missing, say); 2 a script or a tick it
      // cannot read.
      const said = status === 0 ? 'The game ended'
                 : status === 1 || status === 2 ? 'The game could not start' : 'The game stopped';
      $('ended-text').textContent = said + ' (exit status ' + status + ')' +
        (status !== 0 && lastError ? ':\n' + lastError : '.');
      $('ended').hidden = false;
      $('again').focus();
    },
    // The screen's pixels for the tests, 5:6:5, rows back to back, base64: a snapshot the
    // replayed script took by that name, or the screen as the program last presented it.
    frame(name) {
      const pixels = name ? zobu.snapshots[name] : zobu.screen();
      if (!pixels) return null;
      const bytes = new Uint8Array(pixels.buffer, pixels.byteOffset, pixels.byteLength);
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) {
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      }
      return btoa(text);
    },
    screen() {
      const at = Module._zobu_web_screen ? Module._zobu_web_screen() : 0;
      return at ? Module.HEAPU16.slice(at >> 1, (at >> 1) + WIDTH * HEIGHT) : null;
    },
  };

  // Standard error: the console, and the last line for the page to show if the start fails.
  function printErr(line) {
    lastError = line.replace(/^zobu4: /, '');
    console.warn(line);
  }

  async function fetchArt(name) {
    const response = await fetch('Bitmaps/' + name + '.gz');
    if (!response.ok) return; // the program says what it misses, as it would on a desktop
    const unpacked = response.body.pipeThrough(new DecompressionStream('gzip'));
    const bytes = new Uint8Array(await new Response(unpacked).arrayBuffer());
    Module.FS.writeFile('/Bitmaps/' + name, bytes);
  }

  async function fetchScript(name) {
    if (!/^[A-Za-z0-9_-]+$/.test(name)) throw new Error('no script "' + name + '"');
    const response = await fetch('scripts/' + name + '.script');
    if (!response.ok) throw new Error('no script "' + name + '"');
    Module.FS.writeFile('/' + name + '.script', new Uint8Array(await response.arrayBuffer()));
  }

  function prepare() {
    Module.addRunDependency('zobu-files');
    Module.FS.mkdir('/Bitmaps');
    Module.FS.chdir('/');
    const work = ART.map(fetchArt);
    if (scriptName !== null) {
      work.push(fetchScript(scriptName));
      args.push('--script', scriptName + '.script');
    }
    const tick = params.get('tick');
    if (tick !== null) args.push('--tick', tick);
    Promise.all(work).then(
      () => Module.removeRunDependency('zobu-files'),
      (error) => {
        printErr('zobu4: ' + error.message);
        zobu.ended(2);
      });
  }

  // On-screen controls, where the main pointer is a finger or from the first touch; a key of
  // a real keyboard hides them again. Their buttons are 72 CSS pixels, with 14 between.
  const controls = { move: $('move'), act: $('act') };
  const THUMB = 72 + 2 * 14; // the narrowest bar that holds a button
  let touchShown = matchMedia('(pointer: coarse)').matches;

  function showControls(shown) {
    if (shown !== touchShown) {
      touchShown = shown;
      layout();
    }
  }

  // The largest whole-number scale of device pixels that fits the screen the player sees (the
  // visual viewport: on a phone the layout viewport can be wider), beside the controls'
  // bars in landscape or above their band in portrait; at least 1. The picture starts on a
  // device pixel, so that its pixels stay sharp.
  function layout() {
    const view = window.visualViewport;
    const width = view ? view.width : innerWidth;
    const height = view ? view.height : innerHeight;
    const ratio = window.devicePixelRatio || 1;
    const portrait = height > width;
    const bars = touchShown && !portrait ? 2 * THUMB : 0;
    const band = touchShown && portrait ? 2 * THUMB : 0;
    const scale = Math.max(1, Math.floor(Math.min((width - bars) * ratio / WIDTH,
                                                  (height - band) * ratio / HEIGHT)));
    const w = WIDTH * scale / ratio, h = HEIGHT * scale / ratio;
    const left = Math.max(0, Math.round((width - w) / 2 * ratio) / ratio);
    const top = band ? 0 : Math.max(0, Math.round((height - h) / 2 * ratio) / ratio);
    Object.assign(canvas.style, { width: w + 'px', height: h + 'px', left: left + 'px',
                                  top: top + 'px' });
    zobu.scale = scale;

    document.body.classList.toggle('touch', touchShown);
    document.body.classList.toggle('portrait', portrait);
    document.body.classList.toggle('landscape', !portrait);
    const place = (group, x, y, groupWidth, groupHeight) => {
      group.hidden = !touchShown;
      Object.assign(group.style, { left: x + 'px', top: y + 'px', width: groupWidth + 'px',
                                   height: groupHeight + 'px' });
    };
    if (portrait) {
      place(controls.move, 0, top + h, width / 2, height - top - h);
      place(controls.act, width / 2, top + h, width / 2, height - top - h);
    } else {
      place(controls.move, 0, 0, left, height);
      place(controls.act, left + w, 0, width - left - w, height);
    }
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else {
      document.documentElement.requestFullscreen().catch(() => {});
    }
  }

  function wake() {
    if (zobu.wake) zobu.wake();
  }

  function running() {
    return zobu.status === null && typeof Module._zobu_web_key === 'function' &&
           $('message').hidden;
  }

  // Keys by where they are (KeyboardEvent.code); the program's keys do nothing else in the page.
  // (Not through ccall: while the program waits, ccall would take its call for the program's.)
  let codeBuffer = 0;
  function sendKey(code, down) {
    if (!codeBuffer) codeBuffer = Module._malloc(32);
    Module.stringToUTF8(code, codeBuffer, 32);
    return Module._zobu_web_key(codeBuffer, down ? 1 : 0);
  }
  const held = new Set();
  function key(event, down) {
    if (down) showControls(false);
    if (!running()) return;
    if (down && event.code === 'Enter' && event.altKey) {
      if (!event.repeat) toggleFullScreen();
      event.preventDefault();
      return;
    }
    if (!down && !held.has(event.code)) return;
    const taken = sendKey(event.code, down);
    if (!taken) return;
    if (down) held.add(event.code); else held.delete(event.code);
    // Browser shortcuts (Ctrl+R, F5, F11) keep working: the game has no use for them.
    const shortcut = event.ctrlKey || event.metaKey || /^F\d+$/.test(event.code);
    if (!shortcut) event.preventDefault();
    wake();
  }
  // A page that loses the keyboard gets no key-up, nor a touch its lift: let go of what was
  // held.
  const touchReleases = [];
  function releaseAll() {
    for (const code of held) sendKey(code, false);
    held.clear();
    for (const release of touchReleases) release();
    wake();
  }

  // The on-screen controls send the keys a controller's buttons do (the program repeats a
  // held direction with the keyboard's timing). Each follows its own fingers, so Left can be
  // held while Drop is tapped; a touch that slides off still lifts where it began.
  function control(index, down) {
    if (running()) {
      Module._zobu_web_touch(index, down ? 1 : 0);
      wake();
    }
  }
  function followFingers(button, onDown, onUp) {
    const fingers = new Set();
    const up = (event) => {
      event.stopPropagation();
      if (fingers.delete(event.pointerId) && fingers.size === 0) {
        button.classList.remove('held');
        onUp();
      }
    };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      event.stopPropagation();
      button.setPointerCapture(event.pointerId);
      if (fingers.size === 0) {
        button.classList.add('held');
        onDown();
      }
      fingers.add(event.pointerId);
    });
    button.addEventListener('pointerup', up);
    button.addEventListener('pointercancel', up);
    button.addEventListener('pointermove', (event) => event.stopPropagation());
    touchReleases.push(() => {
      if (fingers.size) {
        fingers.clear();
        button.classList.remove('held');
        onUp();
      }
    });
  }
  for (const button of document.querySelectorAll('[data-control]')) {
    const index = Number(button.dataset.control);
    followFingers(button, () => control(index, true), () => control(index, false));
  }
  // Quit, held for a second; the button fills as it is held.
  const QUIT_HOLD_MS = 1000;
  let quitStart = null;
  function quitHeld(now) {
    if (quitStart === null) return;
    const held = Math.min(1, (now - quitStart) / QUIT_HOLD_MS);
    $('quit').style.setProperty('--held', held * 100 + '%');
    if (held < 1) {
      requestAnimationFrame(quitHeld);
      return;
    }
    quitStart = null;
    control(3, true);
    control(3, false);
  }
  followFingers($('quit'), () => {
    quitStart = performance.now();
    requestAnimationFrame(quitHeld);
  }, () => {
    quitStart = null;
    $('quit').style.removeProperty('--held');
  });

  // The pointer, mapped back to the 640 x 480 screen as the SDL host maps its window.
  function pointer(event) {
    if (!running()) return;
    const box = canvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - box.left) * WIDTH / box.width);
    const y = Math.floor((event.clientY - box.top) * HEIGHT / box.height);
    const button = event.type !== 'pointermove' && event.button === 0;
    if (event.type !== 'pointermove' && !button) return;
    Module._zobu_web_mouse(x, y, button ? 1 : 0, event.type === 'pointerdown' ? 1 : 0);
    wake();
  }

  // Game controllers, in the Gamepad API's standard layout; the browser has no events for
  // their buttons, so the page looks at each animation frame while one is connected.
  let padsLooking = false;
  function lookAtPads() {
    const pads = Array.from(navigator.getGamepads ? navigator.getGamepads() : []).filter(Boolean);
    if (pads.length === 0 || zobu.status !== null) {
      padsLooking = false;
      return;
    }
    if (running()) {
      for (const pad of pads) {
        // Bit i is button i of the standard layout; the program knows which are its keys.
        let buttons = 0;
        pad.buttons.forEach((b, i) => { if (i < 31 && b && b.pressed) buttons |= 1 << i; });
        const stick = Math.round(Math.max(-1, Math.min(1, pad.axes[0] || 0)) * 32767);
        Module._zobu_web_pad(pad.index, buttons, stick);
      }
      wake();
    }
    requestAnimationFrame(lookAtPads);
  }
  function padsChanged(event) {
    if (event.type === 'gamepaddisconnected' && running()) {
      Module._zobu_web_pad_gone(event.gamepad.index);
      wake();
    }
    if (!padsLooking) {
      padsLooking = true;
      requestAnimationFrame(lookAtPads);
    }
  }

  window.addEventListener('keydown', (e) => key(e, true));
  window.addEventListener('keyup', (e) => key(e, false));
  window.addEventListener('blur', () => { if (running()) releaseAll(); });
  document.addEventListener('visibilitychange', () => {
    if (document.hidden && running()) releaseAll();
  });
  window.addEventListener('pointerdown', (e) => { if (e.pointerType === 'touch') showControls(true); },
                          true);
  for (const type of ['pointermove', 'pointerdown', 'pointerup']) {
    window.addEventListener(type, pointer);
  }
  window.addEventListener('gamepadconnected', padsChanged);
  window.addEventListener('gamepaddisconnected', padsChanged);
  window.addEventListener('resize', layout);
  if (window.visualViewport) window.visualViewport.addEventListener('resize', layout);
  window.addEventListener('orientationchange', layout);
  document.addEventListener('contextmenu', (e) => e.preventDefault());
  $('fullscreen').addEventListener('click', () => { toggleFullScreen(); canvas.focus(); });
  $('again').addEventListener('click', () => location.reload());
  layout();
  canvas.focus();

  window.zobu = zobu;
  window.Module = {
    zobu: zobu,
    arguments: args,
    preRun: [prepare],
    print: (line) => console.log(line),
    printErr: printErr,
    onAbort: (what) => { printErr('zobu4: the program stopped: ' + what); zobu.ended(1); },
  };

  // After the first visit the page plays with no network: the service worker keeps its files.
  zobu.offline = 'serviceWorker' in navigator
    ? navigator.serviceWorker.register('sw.js').then(() => navigator.serviceWorker.ready)
    : Promise.reject(new Error('no service worker here'));
  zobu.offline.catch(() => {});
})();
