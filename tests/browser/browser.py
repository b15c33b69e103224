"""The browser tests' harness: the site on a local server of its own, and headless Chromium
(Debian's, driven by its chromedriver) looking at it."""
import base64
import functools
import http.server
import os
import shutil
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

import frames


class _Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript',
                      '.webmanifest': 'application/manifest+json'}

    def log_message(self, *args):
        pass


class Server:
    """A static file server for `folder` on 127.0.0.1, on a port the system picks."""

    def __init__(self, folder):
        handler = functools.partial(_Quiet, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        self.url = f'http://127.0.0.1:{self.httpd.server_address[1]}/'
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        if self.httpd:
            self.httpd.shutdown()
            self.httpd.server_close()
            self.httpd = None


class Browser:
    """Headless Chromium with a profile of its own, its window `width` x `height`, or a
    phone's screen. The flags keep it off the network but for the page's server."""

    def __init__(self, width=1000, height=800, phone=None):
        self.profile = tempfile.mkdtemp(prefix='zobu4-chromium-')
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for flag in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
                     '--no-first-run', '--disable-background-networking',
                     '--disable-component-update', '--disable-sync',
                     '--disable-dev-shm-usage', f'--user-data-dir={self.profile}',
                     f'--window-size={width},{height}'):
            options.add_argument(flag)
        if phone:  # (width, height, device-pixel ratio): a phone's screen, and touch
            options.add_experimental_option('mobileEmulation', {'deviceMetrics': {
                'width': phone[0], 'height': phone[1], 'pixelRatio': phone[2], 'touch': True}})
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.log = []

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, script, timeout=20.0, what=None, *args):
        """Polls the expression `script` (which may use `arguments`) until it is neither null
        nor false; returns it."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.js('return ' + script, *args)
            if value is not None and value is not False:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f'waited {timeout} s for {what or script}')
            time.sleep(0.05)

    def status(self):
        """WinMain's result, once the page says the game ended; None while it runs."""
        return self.js('return window.zobu ? window.zobu.status : null')

    def ended(self, timeout=20.0):
        return self.wait('window.zobu && window.zobu.status !== null', timeout, 'the end') and \
            self.status()

    def frame_until(self, test, timeout=10.0):
        """The screen, read again until test(frame) holds or time runs out; the last one read."""
        deadline = time.monotonic() + timeout
        while True:
            frame = self.frame()
            if (frame and test(frame)) or time.monotonic() > deadline:
                return frame
            time.sleep(0.02)

    def frame(self, name=None):
        text = self.js('return window.zobu.frame(arguments[0])', name)
        return frames.from_page(text) if text else None

    def canvas(self):
        """What the canvas shows, 640 x 480, as 0xRRGGBB pixels, once its next frame is drawn."""
        text = self.driver.execute_async_script(
            'const done = arguments[0];'
            'requestAnimationFrame(() => requestAnimationFrame(() => {'
            '  const data = window.zobu.context.getImageData(0, 0, 640, 480).data;'
            '  let text = "";'
            '  for (let i = 0; i < data.length; i += 0x8000)'
            '    text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));'
            '  done(btoa(text));'
            '}));')
        rgba = base64.b64decode(text)
        return [(rgba[i] << 16) | (rgba[i + 1] << 8) | rgba[i + 2] for i in range(0, len(rgba), 4)]

    def console(self):
        """Everything the page logged since the last call (and before)."""
        self.log += self.driver.get_log('browser')
        return self.log

    def console_errors(self):
        return [e['message'] for e in self.console() if e['level'] == 'SEVERE']
