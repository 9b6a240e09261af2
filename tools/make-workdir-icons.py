#!/usr/bin/python3
"""Renders the image files the program reads from its working directory:
icon/splash.png (shown while the program starts) and the Script tab's table
icons with their highlighted variants ("-black", drawn dark for the green row
highlight). Usage: make-workdir-icons.py <icon folder>; existing files are kept."""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

LIGHT = (0xb1, 0xb1, 0xb1, 255)
DARK = (0x10, 0x10, 0x10, 255)
GREEN = (0x12, 0x96, 0x18, 255)
S = 16


def canvas():
    return Image.new("RGBA", (S, S), (0, 0, 0, 0))


def play(d, c):
    d.polygon([(4, 2), (13, 8), (4, 14)], fill=c)


def stop(d, c):
    d.rectangle([3, 3, 12, 12], fill=c)


def plus(d, c):
    d.rectangle([7, 2, 8, 13], fill=c)
    d.rectangle([2, 7, 13, 8], fill=c)


def minus(d, c):
    d.rectangle([2, 7, 13, 8], fill=c)


def up(d, c):
    d.polygon([(8, 2), (14, 9), (10, 9), (10, 14), (6, 14), (6, 9), (2, 9)], fill=c)


def down(d, c):
    d.polygon([(8, 14), (14, 7), (10, 7), (10, 2), (6, 2), (6, 7), (2, 7)], fill=c)


def save(d, c):
    d.rectangle([2, 2, 13, 13], outline=c)
    d.rectangle([5, 2, 10, 6], fill=c)
    d.rectangle([4, 9, 11, 13], outline=GREEN)


TABLE_ICONS = {"Play": play, "Stop": stop, "Plus": plus, "Minus": minus,
               "Pfeil-oben": up, "Pfeil-unten": down}


def write(path, image):
    if not os.path.exists(path):
        image.save(path)


def splash(path):
    if os.path.exists(path):
        return
    w, h = 800, 479
    img = Image.new("RGB", (w, h), (0x32, 0x32, 0x32))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, 8], fill=GREEN[:3])
    d.rectangle([0, h - 9, w - 1, h - 1], fill=GREEN[:3])
    # A valve seat with its needle.
    cx, cy = 180, 240
    d.ellipse([cx - 90, cy - 90, cx + 90, cy + 90], outline=LIGHT[:3], width=6)
    d.polygon([(cx - 20, cy - 150), (cx + 20, cy - 150), (cx, cy + 10)], fill=GREEN[:3])
    d.rectangle([cx - 130, cy + 90, cx + 130, cy + 100], fill=LIGHT[:3])
    try:
        big = ImageFont.truetype("DejaVuSans-Bold.ttf", 56)
        small = ImageFont.truetype("DejaVuSans.ttf", 28)
    except OSError:
        big = small = ImageFont.load_default()
    d.text((330, 170), "varnix", font=big, fill=(0xe0, 0xe0, 0xe0))
    d.text((332, 250), "leak valve", font=small, fill=LIGHT[:3])
    img.save(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, draw in TABLE_ICONS.items():
        for suffix, colour in (("", LIGHT), ("-black", DARK)):
            img = canvas()
            draw(ImageDraw.Draw(img), colour)
            write(os.path.join(folder, name + suffix + ".png"), img)
    img = canvas()
    save(ImageDraw.Draw(img), LIGHT)
    write(os.path.join(folder, "save.png"), img)
    splash(os.path.join(folder, "splash.png"))


if __name__ == "__main__":
    main()
