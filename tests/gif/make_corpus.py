"""Writes the Pillow-made part of the GIF test corpus into the directory given.

With --bench as second argument it writes only the large image, for gifbench's image set.
"""
import sys

from PIL import Image

out = sys.argv[1]
bench = sys.argv[2:] == ["--bench"]


def palette_image(w, h, colours, seed):
    """A picture of the given number of colours: bands, rings and a mandelbrot set."""
    m = Image.effect_mandelbrot((w, h), (-2.2, -1.2, 1.0, 1.2), 60)
    g = Image.radial_gradient("L").resize((w, h))
    n = Image.linear_gradient("L").rotate(seed * 37 % 360).resize((w, h))
    rgb = Image.merge("RGB", (m, g, n))
    return rgb.quantize(colours, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE)


if bench:
    palette_image(4000, 3000, 256, 5).save(f"{out}/pil-4000x3000.gif")
    sys.exit(0)

# Palette sizes 2..256, small and odd sizes (Pillow interlaces images of 16 rows and more).
for i, (w, h, colours) in enumerate([(1, 1, 2), (3, 17, 4), (31, 16, 8), (64, 15, 16),
                                     (97, 61, 32), (128, 128, 64), (255, 129, 128),
                                     (321, 203, 256)]):
    palette_image(w, h, colours, i).save(f"{out}/pil-{w}x{h}-{colours}.gif")
    palette_image(w, h, colours, i).save(f"{out}/pil-{w}x{h}-{colours}-flat.gif", interlace=0)

# Animation: durations, disposal, transparency, a comment, frames cropped by the optimiser.
frames = [palette_image(120, 90, 16, k) for k in range(5)]
frames[0].save(f"{out}/pil-animated.gif", save_all=True, append_images=frames[1:],
               duration=[40, 100, 70, 0, 500], disposal=[0, 1, 2, 3, 2], loop=0,
               transparency=3, comment=b"made for the tests")
base = palette_image(80, 60, 8, 9)
still = [base.copy() for _ in range(4)]
for k, f in enumerate(still):
    f.paste(k + 1, (10 * k, 5 * k, 10 * k + 15, 5 * k + 12))
still[0].save(f"{out}/pil-animated-optimised.gif", save_all=True, append_images=still[1:],
              duration=120, optimize=True)

# One large frame, 4000 x 3000 in 256 colours.
palette_image(4000, 3000, 256, 5).save(f"{out}/pil-4000x3000.gif")
