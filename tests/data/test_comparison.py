"""The quick tier's reading of a regenerated file: what a picture shows and what a sound plays,
so that a library that compresses the same pixels otherwise passes and a changed pixel fails."""

import os
import shutil
import sys
import wave

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_regeneration  # noqa: E402

from harness import PROJECT_ROOT, catalogue  # noqa: E402


def committed(kind):
    return os.path.join(PROJECT_ROOT, catalogue.of_kind(kind)[0].path)


def test_a_picture_is_its_pixels_not_its_compression(tmp_path):
    original = committed("picture")
    content = check_regeneration.content(original)
    with Image.open(original) as im:
        pixels = im.convert("RGB")
    recoded = str(tmp_path / "recoded.png")
    pixels.save(recoded, compress_level=1)
    assert check_regeneration.file_bytes(recoded) != check_regeneration.file_bytes(original)
    assert check_regeneration.content(recoded) == content

    x, y = pixels.width // 2, pixels.height // 2
    r, g, b = pixels.getpixel((x, y))
    pixels.putpixel((x, y), (r ^ 1, g, b))
    pixels.save(recoded, compress_level=9)
    assert check_regeneration.content(recoded) != content


def test_a_sound_is_its_format_and_samples(tmp_path):
    original = committed("sound")
    copy = str(tmp_path / "copy.wav")
    shutil.copyfile(original, copy)
    assert check_regeneration.content(copy) == check_regeneration.content(original)

    with wave.open(original, "rb") as w:
        params, frames = w.getparams(), bytearray(w.readframes(w.getnframes()))
    frames[len(frames) // 2] ^= 1
    with wave.open(copy, "wb") as w:
        w.setparams(params)
        w.writeframes(bytes(frames))
    assert check_regeneration.content(copy) != check_regeneration.content(original)
