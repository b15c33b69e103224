#!/usr/bin/env python3
"""Fails on an include that runs the wrong way between the floors of the house.

Each file of the program belongs to a room (a floor of our Win32, a host, the seam, a folder
of the game); a room may include only from the rooms it may use, as docs/layers.md draws
them, and a private header only from its own room. Tests, benchmarks and fuzz targets may
use anything and are not read. Usage, from anywhere: tools/check_includes.py
Prints each wrong include as FILE:LINE: what is wrong, and exits 1 if there is one.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Rooms by path, the most particular first.
ROOMS = [
    ('include', 'platform/include/'),
    ('kernel', 'platform/kernel/'),
    ('display', 'platform/display/'),
    ('gdi', 'platform/gdi/'),
    ('user', 'platform/user/'),
    ('ddraw', 'platform/ddraw/'),
    ('sdl', 'platform/host/sdl/'),
    ('headless', 'platform/host/headless/'),
    ('web', 'platform/host/web/'),
    ('seam', 'platform/host/'),
    ('main', 'platform/main/'),
    ('state', 'app/state.'),
    ('app', 'app/'),
    ('game', 'game/'),
    ('screen', 'screen/'),
    ('panel', 'panel/'),
    ('res', 'res/'),
]
FLOORS = {'include', 'kernel', 'display', 'gdi', 'user', 'ddraw', 'seam'}
MAY_USE = {
    'include': {'include'},
    'seam': {'include', 'seam'},
    'kernel': {'include', 'kernel', 'seam'},
    'display': {'include', 'display', 'seam'},
    'gdi': {'include', 'gdi', 'display', 'kernel', 'seam'},
    'user': {'include', 'user', 'gdi', 'display', 'kernel', 'seam'},
    'ddraw': {'include', 'ddraw', 'user', 'gdi', 'display', 'kernel', 'seam'},
    'sdl': {'seam', 'sdl'},
    'headless': {'seam', 'headless'},
    'web': {'seam', 'web'},
    'main': FLOORS | {'sdl', 'headless', 'web', 'main'},
    'res': {'res'},
    'state': {'include', 'state'},
    'screen': {'include', 'screen'},
    'game': {'include', 'game', 'screen', 'state', 'res'},
    'panel': {'include', 'panel', 'state', 'res'},
    'app': {'include', 'app', 'state', 'game', 'screen', 'panel', 'res'},
}
# Headers private to their room, whoever else might use the rooms they stand in.
PRIVATE = {
    'platform/gdi/objects.h': 'gdi',
    'platform/user/user_private.h': 'user',
    'platform/ddraw/ddraw_private.h': 'ddraw',
}
# Where a quoted include is looked for after the including file's own folder, as the build's
# include folders have it.
SEARCH = ['', 'platform/', 'platform/include/']
# The game floor takes in angle brackets only the SDK's headers and the C++ library's.
GAME = {'app', 'state', 'game', 'screen', 'panel', 'res'}


def room_of(path):
    for room, prefix in ROOMS:
        if path.startswith(prefix):
            return room
    return None


def resolve(including, name):
    for base in [os.path.dirname(including)] + SEARCH:
        path = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(ROOT, path)):
            return path
    return None


def main():
    files = subprocess.run(['git', 'ls-files', '*.cpp', '*.h'], cwd=ROOT, capture_output=True,
                           text=True, check=True).stdout.split()
    wrong = []
    for path in files:
        room = room_of(path)
        if room is None:
            continue  # tests, benchmarks, fuzz targets, tools
        with open(os.path.join(ROOT, path), encoding='utf-8', errors='replace') as f:
            for number, line in enumerate(f, 1):
                m = re.match(r'\s*#\s*include\s*([<"])([^>"]+)[>"]', line)
                if not m:
                    continue
                where = f'{path}:{number}'
                if m.group(1) == '<':
                    name = m.group(2)
                    ours = resolve(path, name)
                    if room in GAME and (re.match(r'(SDL|png|emscripten|X11)', name) or (
                            ours and not ours.startswith('platform/include/'))):
                        wrong.append(f'{where}: the game sees <windows.h> and <ddraw.h> only')
                    continue
                target = resolve(path, m.group(2))
                if target is None:
                    wrong.append(f'{where}: "{m.group(2)}" is no file of ours')
                    continue
                to = room_of(target)
                owner = PRIVATE.get(target)
                if target.endswith('_testing.h') and to != room:
                    wrong.append(f'{where}: {target} is for tests of {to} only')
                elif owner and owner != room:
                    wrong.append(f'{where}: {target} is private to {owner}')
                elif to not in MAY_USE[room]:
                    wrong.append(f'{where}: {room} may not use {to} ({target})')
    for line in wrong:
        print(line)
    if wrong:
        print(f'check_includes: {len(wrong)} include(s) run the wrong way; see docs/layers.md')
        return 1
    print(f'check_includes: {len(files)} files, every include runs the right way')
    return 0


if __name__ == '__main__':
    sys.exit(main())
