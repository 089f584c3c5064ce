"""The test pattern for the Python checks of the end-to-end tests.

Its colours are defined once, in Pattern.h: this module asks zentrap-test-pattern (built from it,
found in $ZENTRAP_BIN) for reference pictures and positions instead of repeating the formula.
"""
import os
import subprocess
import tempfile

from PIL import Image

LIMIT = 4096  # the pattern tells positions apart up to this size


def _tool():
    return os.path.join(os.environ["ZENTRAP_BIN"], "zentrap-test-pattern")


def reference(width, height):
    """Window pixels (0,0)-(width-1,height-1) of the pattern as an RGB picture."""
    if not (0 < width <= LIMIT and 0 < height <= LIMIT):
        raise ValueError(f"the pattern has no {width} x {height} reference")
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "pattern.ppm")
        subprocess.run([_tool(), "--write", path, str(width), str(height)], check=True)
        with Image.open(path) as image:
            return image.convert("RGB")


def position_of(rgb):
    """The window pixel (x, y) that shows colour rgb."""
    out = subprocess.run([_tool(), "--locate", *map(str, rgb[:3])], check=True, capture_output=True,
                         text=True).stdout
    x, y = map(int, out.split())
    return x, y
