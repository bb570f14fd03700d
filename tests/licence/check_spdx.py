#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the repository names its licence in an SPDX line near its top.
import re
import subprocess
import sys

SOURCE = re.compile(r'(\.(cpp|h|py|sh|cmake)$|CMakeLists\.txt$|^Makefile$|^\.ci/run$)')
TAG = 'SPDX-License-Identifier: GPL-3.0-or-later'

root = sys.argv[1]
files = subprocess.run(['git', '-C', root, 'ls-files'], capture_output=True, text=True)
if files.returncode != 0:
    print('not a git checkout; nothing to check')
    sys.exit(0)
missing = []
for name in files.stdout.splitlines():
    if not SOURCE.search(name):
        continue
    with open(f'{root}/{name}', encoding='utf-8') as f:
        head = ''.join(f.readline() for _ in range(3))
    if TAG not in head:
        missing.append(name)
for name in missing:
    print(f'{name}: no "{TAG}" line at its top')
sys.exit(1 if missing else 0)
