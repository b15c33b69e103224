"""The game in a real browser: the site the web build made, served on 127.0.0.1, played in
headless Chromium with real key events. Usage: browser_test.py SITE CASE (a class below)."""
import glob
import os
import re
import shutil
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

import frames
from browser import Browser, Server

SITE = sys.argv.pop(1) if __name__ == '__main__' else os.environ.get('ZOBU_WEB_SITE', 'build/web')
TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')

# Where the game's pictures are fixed: below the score panel and above the Pot, only the
# Dropper (and a falling item) change; the score box's text, left of the caret.
PLAYFIELD = (0, 48, 640, 400)
SCORE_TEXT = (82, 18, 110, 36)


def golden(name):
    return frames.read_png(os.path.join(TESTS, 'golden', f'game_{name}.png'))[2]


def first_difference(a, b, box):
    diff = frames.differences(a, b, box)
    if not diff:
        return ''
    x, y = diff[0]
    i = y * frames.WIDTH + x
    return f'{len(diff)} pixels differ; the first at ({x}, {y}): {a[i]:06x}, not {b[i]:06x}'


class PageCase(unittest.TestCase):
    width, height = 1000, 800

    def setUp(self):
        self.server = Server(SITE)
        self.browser = Browser(self.width, self.height)
        self.addCleanup(self.browser.quit)
        self.addCleanup(self.server.stop)

    def open(self, query=''):
        self.browser.driver.get(self.server.url + query)

    def assertNoConsoleErrors(self):
        self.assertEqual(self.browser.console_errors(), [])


class GoldenScripts(PageCase):
    def test_every_script_replays_to_the_native_golden_frames(self):
        scripts = sorted(glob.glob(os.path.join(TESTS, 'scripts', '*.script')))
        self.assertGreater(len(scripts), 5)
        for path in scripts:
            name = os.path.basename(path)[:-len('.script')]
            with self.subTest(script=name):
                self.open('?script=' + name)
                self.assertEqual(self.browser.ended(), 0)
                snapshots = re.findall(r'snapshot (\S+)\.png', open(path).read())
                self.assertTrue(snapshots, name + ' takes no snapshot')
                for snapshot in snapshots:
                    frame = self.browser.frame(snapshot + '.png')
                    self.assertIsNotNone(frame, snapshot + ' was not taken')
                    self.assertEqual(first_difference(frame, golden(snapshot), (0, 0, 640, 480)),
                                     '', snapshot)
                # The canvas shows the screen as it ended, converted from 5:6:5.
                self.assertEqual(first_difference(self.browser.canvas(), self.browser.frame(),
                                                  (0, 0, 640, 480)), '', 'the canvas')
        self.assertNoConsoleErrors()


class RealKeys(PageCase):
    width, height = 700, 640  # scale 1

    def press(self, key):
        ActionChains(self.browser.driver).key_down(key).key_up(key).perform()

    def test_right_moves_space_drops_escape_ends(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        self.assertEqual(self.browser.js('return window.zobu.scale'), 1)
        self.assertEqual(first_difference(self.browser.frame(), golden('first_frame'), PLAYFIELD),
                         '', 'the Dropper starts at 256')

        for _ in range(3):
            self.press(Keys.ARROW_RIGHT)
        three_rights = golden('three_rights')
        frame = self.browser.frame_until(
            lambda f: not frames.differences(f, three_rights, PLAYFIELD), timeout=3)
        self.assertEqual(first_difference(frame, three_rights, PLAYFIELD), '',
                         'three Rights move the Dropper 6 pixels, to 262')

        # A game controller as the Gamepad API shows it: the d-pad's left (button 14 of the
        # standard layout), then the stick's, each pressed and let go, are one Left each; one
        # Right brings the Dropper back.
        for buttons, stick in ((1 << 14, 0), (0, 0), (0, -32767), (0, 0)):
            self.browser.js('Module._zobu_web_pad(0, arguments[0], arguments[1]);'
                            'window.zobu.wake && window.zobu.wake()', buttons, stick)
        self.press(Keys.ARROW_RIGHT)
        self.press(Keys.ARROW_RIGHT)
        frame = self.browser.frame_until(
            lambda f: not frames.differences(f, three_rights, PLAYFIELD), timeout=3)
        self.assertEqual(first_difference(frame, three_rights, PLAYFIELD), '',
                         'two Lefts from the controller, two Rights from the keys')

        self.press(Keys.SPACE)
        scores = {'1/1': golden('caught'), '0/1': golden('first_miss')}

        def score(f):
            return next((text for text, picture in scores.items()
                         if not frames.differences(f, picture, SCORE_TEXT)), None)
        frame = self.browser.frame_until(score, timeout=8)  # the item lands within 5 s
        self.assertIn(score(frame), scores, 'the score box says neither 1/1 nor 0/1')
        self.assertEqual(self.browser.js('return [scrollX, scrollY]'), [0, 0],
                         'the game\'s keys do not scroll the page')

        self.press(Keys.ESCAPE)
        self.assertEqual(self.browser.ended(), 0)
        ended = self.browser.js('return document.getElementById("ended")')
        self.assertTrue(ended.is_displayed())
        self.assertIn('The game ended (exit status 0)', ended.text)
        self.assertIn('Play again', ended.text)
        self.assertNoConsoleErrors()


class Layout(PageCase):
    def test_resizing_keeps_a_whole_number_scale(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        for width, height in ((700, 640), (1500, 1200), (2100, 1200), (1000, 800)):
            self.browser.driver.set_window_size(width, height)
            inner = self.browser.wait('innerWidth === %d || innerHeight < %d ? '
                                      '[innerWidth, innerHeight] : null' % (width, height),
                                      what='the new size')
            expected = max(1, min(inner[0] // 640, inner[1] // 480))
            # The page lays itself out on the window's resize and on the visual viewport's,
            # which may come a moment later: what counts is where it settles.
            self.browser.wait('window.zobu.scale === %d' % expected, 3,
                              f'the scale {expected} for {inner}')
            box = self.browser.js('const r = document.getElementById("screen")'
                                  '.getBoundingClientRect(); return [r.left, r.top, r.width, '
                                  'r.height]')
            scale = box[2] / 640
            with self.subTest(window=(width, height)):
                self.assertEqual(scale, int(scale))
                self.assertEqual(box[3], 480 * scale)
                self.assertEqual(scale, expected)
                self.assertAlmostEqual(box[0], (inner[0] - box[2]) / 2, delta=0.5)
        self.assertEqual(self.browser.js('return getComputedStyle(document.getElementById('
                                         '"screen")).imageRendering'), 'pixelated')
        self.assertFalse(self.browser.js('return document.getElementById("move")').is_displayed(),
                         'a desktop shows no touch controls')
        self.assertNoConsoleErrors()

    def test_the_pointer_is_hit_tested_on_the_screen_at_any_scale(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        canvas = self.browser.js('return document.getElementById("screen")')
        for width, height in ((700, 640), (1500, 1200)):
            self.browser.driver.set_window_size(width, height)
            # Laid out anew for the new size: the canvas centred in it, before the pointer moves.
            scale = self.browser.wait(
                '(() => { const r = document.getElementById("screen").getBoundingClientRect();'
                ' return innerWidth === %d && Math.abs(r.left + r.right - innerWidth) < 2 &&'
                ' window.zobu.scale; })()' % width)
            # The score panel keeps the arrow; the game hides the pointer over its own window.
            for x, y, cursor in ((100, 25, 'default'), (320, 300, 'none'), (150, 20, 'default'),
                                 (165, 20, 'none')):
                with self.subTest(scale=scale, at=(x, y)):
                    ActionChains(self.browser.driver).move_to_element_with_offset(
                        canvas, (x - 320) * scale + scale // 2, (y - 240) * scale + scale // 2
                    ).perform()
                    self.browser.wait('getComputedStyle(arguments[0]).cursor === "%s"' % cursor,
                                      2, f'the cursor {cursor} at {(x, y)}', canvas)


def star_x(frame):
    """Where the Dropper is: the leftmost x of its hat's star (the golden first frame's colour
    at (320, 110)) between rows 85 and 245."""
    star = golden('first_frame')[110 * frames.WIDTH + 320]
    return min((x for y in range(85, 245) for x in range(frames.WIDTH)
                if frame[y * frames.WIDTH + x] == star), default=None)


class Touch(PageCase):
    """A phone held sideways, then upright, in Chromium's emulation: its screen, its
    device-pixel ratio, and touches through the DevTools protocol."""
    PHONE = (915, 412, 2.625)

    def setUp(self):
        self.server = Server(SITE)
        self.browser = Browser(phone=self.PHONE)
        self.addCleanup(self.browser.quit)
        self.addCleanup(self.server.stop)
        self.fingers = {}

    def box(self, selector):
        return self.browser.js('const r = document.querySelector(arguments[0])'
                               '.getBoundingClientRect(); return [r.left, r.top, r.right, '
                               'r.bottom]', selector)

    def touch(self, kind, selector=None, finger=0):
        """A finger goes down on the element's centre, or comes up."""
        if selector:
            left, top, right, bottom = self.box(selector)
            self.fingers[finger] = {'x': (left + right) / 2, 'y': (top + bottom) / 2,
                                    'id': finger}
        else:
            del self.fingers[finger]
        points = list(self.fingers.values())
        self.browser.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {
            'type': kind if points or kind != 'touchMove' else 'touchEnd',
            'touchPoints': points})

    def press(self, selector, finger=0):
        self.touch('touchStart', selector, finger)

    def lift(self, finger=0):
        self.touch('touchMove' if len(self.fingers) > 1 else 'touchEnd', None, finger)

    def tap(self, selector):
        self.press(selector)
        self.lift()

    def turn(self, width, height):
        portrait = height > width
        self.browser.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': self.PHONE[2], 'mobile': True,
            'screenOrientation': {'type': 'portraitPrimary' if portrait else 'landscapePrimary',
                                  'angle': 0 if portrait else 90}})
        self.browser.wait('visualViewport.width === %d && document.body.classList.contains("%s")'
                          % (width, 'portrait' if portrait else 'landscape'), what='the turn')

    def assertLaidOut(self, portrait):
        """The whole picture on screen at a whole scale of device pixels; every control a
        thumb's size, on screen, and beside or below the picture, never over it."""
        width, height = self.browser.js('return [visualViewport.width, visualViewport.height]')
        left, top, right, bottom = self.box('#screen')
        scale = (right - left) * self.PHONE[2] / 640
        self.assertAlmostEqual(scale, round(scale), places=3)
        self.assertGreaterEqual(left, 0)
        self.assertGreaterEqual(top, 0)
        self.assertLessEqual(right, width + 0.01)
        self.assertLessEqual(bottom, height + 0.01)
        for name in ('Left', 'Right', 'Drop', 'Quit (hold)'):
            with self.subTest(control=name):
                l, t, r, b = self.box(f'button[aria-label="{name}"]')
                self.assertGreaterEqual(min(r - l, b - t), 48)
                self.assertTrue(0 <= l and r <= width and 0 <= t and b <= height)
                if portrait:
                    self.assertGreaterEqual(t, bottom)
                else:
                    self.assertTrue(r <= left or l >= right)

    def test_sideways_and_upright_the_picture_is_whole_and_the_controls_beside_it(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        self.assertLaidOut(portrait=False)
        self.assertEqual(self.browser.js('return window.zobu.scale'), 2)
        self.turn(412, 915)
        self.assertLaidOut(portrait=True)
        self.turn(915, 412)
        self.assertLaidOut(portrait=False)
        self.assertNoConsoleErrors()

    def test_the_controls_play_as_the_keys_do(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        for _ in range(3):
            self.tap('button[aria-label="Right"]')
        three_rights = golden('three_rights')
        frame = self.browser.frame_until(
            lambda f: not frames.differences(f, three_rights, PLAYFIELD), timeout=3)
        self.assertEqual(first_difference(frame, three_rights, PLAYFIELD), '',
                         'three taps on Right move the Dropper 6 pixels, to 262')

        # Held, Right repeats as a held key does: 2 pixels, then 2 more every 33 ms after
        # 500 ms. A lost touch (the page losing the focus) lets go of it.
        self.press('button[aria-label="Right"]')
        time.sleep(1.0)
        self.browser.js('window.dispatchEvent(new Event("blur"))')
        time.sleep(0.2)
        held = self.browser.frame()
        self.assertGreater(star_x(held) - star_x(frame), 20, 'held for a second')
        time.sleep(0.4)
        self.assertEqual(first_difference(self.browser.frame(), held, PLAYFIELD), '',
                         'the Dropper stops once the touch is lost')
        self.lift()

        # Left held with one thumb while the other taps Drop: both work.
        self.press('button[aria-label="Left"]', finger=1)
        time.sleep(0.6)
        self.tap('button[aria-label="Drop"]')
        time.sleep(0.3)
        before = star_x(self.browser.frame())
        time.sleep(0.3)
        self.assertLess(star_x(self.browser.frame()), before, 'Left still held after Drop')
        self.lift(finger=1)
        scores = {'1/1': golden('caught'), '0/1': golden('first_miss')}

        def score(f):
            return next((text for text, picture in scores.items()
                         if not frames.differences(f, picture, SCORE_TEXT)), None)
        frame = self.browser.frame_until(score, timeout=8)
        self.assertIn(score(frame), scores, 'the score box says neither 1/1 nor 0/1')

        # Quit must be held: a tap does nothing, a second's hold ends the game.
        self.tap('#quit')
        time.sleep(1.5)
        self.assertIsNone(self.browser.status())
        self.press('#quit')
        self.assertEqual(self.browser.ended(5), 0)
        self.lift()
        self.assertEqual(self.browser.js('return [scrollX, scrollY, visualViewport.scale]'),
                         [0, 0, 1])
        self.assertNoConsoleErrors()


class MissingArt(PageCase):
    def setUp(self):
        self.copy = tempfile.mkdtemp(prefix='zobu4-site-')
        self.addCleanup(shutil.rmtree, self.copy, True)
        shutil.copytree(SITE, self.copy, dirs_exist_ok=True)
        os.remove(os.path.join(self.copy, 'Bitmaps', 'back1.bmp.gz'))
        self.server = Server(self.copy)
        self.browser = Browser(self.width, self.height)
        self.addCleanup(self.browser.quit)
        self.addCleanup(self.server.stop)

    def test_the_one_line_in_the_page_status_1(self):
        self.open()
        self.assertEqual(self.browser.ended(), 1)
        ended = self.browser.js('return document.getElementById("ended")')
        self.assertTrue(ended.is_displayed())
        self.assertIn('The game could not start (exit status 1)', ended.text)
        self.assertIn('cannot load bitmap "Bitmaps\\back1.bmp": no such file', ended.text)
        # The missing file's 404 is the server's answer; nothing the page did went wrong.
        thrown = [m for m in self.browser.console_errors() if 'back1.bmp.gz' not in m]
        self.assertEqual(thrown, [])


class RefusedTicks(PageCase):
    def test_a_tick_the_desktop_refuses_is_refused_and_said(self):
        for tick in ['', '-18446744073709551615', '4294967296', '12abc']:
            with self.subTest(tick=tick):
                self.open('?tick=' + tick)
                self.assertEqual(self.browser.ended(), 2)
                ended = self.browser.js('return document.getElementById("ended")')
                self.assertIn('The game could not start (exit status 2)', ended.text)
                self.assertIn('--tick takes a whole number from 0 to 4294967295', ended.text)


class OfflineAndInstallable(PageCase):
    def test_plays_with_the_server_stopped_and_offers_to_install(self):
        self.open()
        self.browser.wait('window.zobu.firstPaint', what='the first picture')
        kept = self.browser.driver.execute_async_script(
            'const done = arguments[0];'
            'window.zobu.offline.then(() => caches.keys())'
            '  .then((names) => caches.open(names[0])).then((c) => c.keys())'
            '  .then((requests) => done(requests.map((r) => new URL(r.url).pathname)))'
            '  .catch((e) => done(String(e)));')
        for path in ('/', '/zobu4.wasm', '/zobu4.js', '/Bitmaps/back1.bmp.gz'):
            self.assertIn(path, kept)

        errors = self.browser.driver.execute_cdp_cmd('Page.getInstallabilityErrors', {})
        self.assertEqual(errors.get('installabilityErrors'), [])
        self.assertNoConsoleErrors()

        self.server.stop()
        self.browser.driver.refresh()
        self.browser.wait('window.zobu && window.zobu.firstPaint', what='the game offline')
        self.assertIsNone(self.browser.status())
        self.assertEqual(first_difference(self.browser.frame(), golden('first_frame'), PLAYFIELD),
                         '')
        self.assertNoConsoleErrors()


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
