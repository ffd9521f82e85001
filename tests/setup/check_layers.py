#!/usr/bin/python3
"""Fails when a source file includes a header from a layer above its own.

Layers, bottom to top: formats, store, ui, the subsystems, app, tools.
Includes are by bare file name, so each header is found by its name."""
import os
import re
import sys

ROOT = next((a for a in sys.argv[1:] if not a.startswith("--")), None) or os.path.join(os.path.dirname(__file__), "..", "..")
LAYERS = {"formats": 0, "store": 1, "ui": 2, "app": 4}
SUBSYSTEM = 3
TOOLS = 5
NAMES = {0: "formats", 1: "store", 2: "ui", 3: "subsystems", 4: "app", 5: "tools"}


def layer_of(path):
    parts = os.path.relpath(path, ROOT).split(os.sep)
    if parts[0] == "tools":
        return TOOLS
    if parts[0] == "src" and len(parts) > 2:
        return LAYERS.get(parts[1], SUBSYSTEM)
    return None


def sources():
    for top in ("src", "tools"):
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            for name in files:
                if name.endswith((".h", ".cpp")):
                    yield os.path.join(folder, name)


def self_test():
    """The check must notice a store file that includes a window of the shell."""
    import tempfile
    with tempfile.TemporaryDirectory() as root:
        for rel, text in (("src/store/Low.cpp", '#include "High.h"\n'), ("src/app/shell/High.h", "")):
            os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w") as f:
                f.write(text)
        global ROOT
        saved, ROOT = ROOT, root
        try:
            caught = main() == 1
        finally:
            ROOT = saved
    print("self-test:", "caught" if caught else "MISSED")
    return 0 if caught else 1


def main():
    headers = {}
    for path in sources():
        if path.endswith(".h"):
            headers.setdefault(os.path.basename(path), []).append(path)
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
    faults = []
    for path in sources():
        own = layer_of(path)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for name in include.findall(text):
            for target in headers.get(os.path.basename(name), []):
                theirs = layer_of(target)
                if own is not None and theirs is not None and theirs > own:
                    faults.append("%s (%s) includes %s (%s)" % (os.path.relpath(path, ROOT), NAMES[own],
                                                                os.path.relpath(target, ROOT), NAMES[theirs]))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if "--self-test" in sys.argv:
        sys.argv.remove("--self-test")
        sys.exit(self_test())
    sys.exit(main())
