#!/usr/bin/python3
"""Times Pillow's bicubic resize of one image; prints the median processor seconds of one resize.

usage: pillow_resize.py IMAGE WIDTH HEIGHT [REPEATS]
"""
import sys
import time

from PIL import Image


def main():
    path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    repeats = int(sys.argv[4]) if len(sys.argv) > 4 else 25
    image = Image.open(path).convert("RGB")
    image.load()
    image.resize((width, height), Image.Resampling.BICUBIC)  # warm the caches
    times = []
    for _ in range(repeats):
        start = time.process_time()
        image.resize((width, height), Image.Resampling.BICUBIC)
        times.append(time.process_time() - start)
    times.sort()
    print(f"{times[len(times) // 2]:.9f}")


if __name__ == "__main__":
    main()
