# Pillow reads our BMP and JPEG: the BMP has exactly the pixels of the PNG, the JPEG
# differs from them by no more than JPEG compression does. Usage: pillow_check.py PNG BMP JPG
import sys

from PIL import Image, ImageChops, ImageStat

png, bmp, jpg = (Image.open(name) for name in sys.argv[1:4])
bmp.load()
jpg.load()
assert bmp.format == "BMP" and jpg.format == "JPEG", (bmp.format, jpg.format)
reference = png.convert("RGB")
assert bmp.size == reference.size == jpg.size, (bmp.size, reference.size, jpg.size)
assert ImageChops.difference(bmp.convert("RGB"), reference).getbbox() is None, "BMP differs"
# Mean error per channel of a line drawing at the library's default quality.
error = ImageStat.Stat(ImageChops.difference(jpg.convert("RGB"), reference)).mean
assert max(error) < 6, ("JPEG error", error)
print("OK", error)
