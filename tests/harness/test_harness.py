"""The shared helpers' own checks, headless and quick: the catalogue reader, and the reading
of figures against the game's own writing, which every window test leans on."""

import pytest

from harness import catalogue
from harness.screens import WHITE, running_frame_under
from harness.text import HUD_FONT, SCORE_FONT


class Shot:
    def __init__(self, image):
        self.image = image


def test_catalogue_reads_each_kind_in_order_and_names_a_bad_line(tmp_path):
    first = catalogue.pictures()[0]
    assert first.kind == "picture" and first.path == "Data/" + first.file
    assert [e.kind for e in catalogue.entries()] == sorted(
        (e.kind for e in catalogue.entries()), key=catalogue.KINDS.index)
    bad = tmp_path / "catalogue.tsv"
    bad.write_text("# a comment\npicture\tGfx/a.PNG\t1\t2\t3\nsound\tSound/b.wav\t0\t0\n")
    with pytest.raises(ValueError, match=r"catalogue.tsv:3"):
        catalogue.entries(str(bad))


@pytest.fixture(scope="module")
def hud(game_data):
    return running_frame_under(game_data), game_data.text


@pytest.mark.parametrize("value, form", [(0, "%d"), (7, "%d %%"), (100, "%d %%"),
                                         (-1, "%d"), (1234567, "%d"), (90210, "%d")])
def test_a_written_figure_reads_back(hud, value, form):
    under, text = hud
    screen = under.copy()
    screen.paste(text.write(under.crop((171, 684, 411, 740)), HUD_FONT, WHITE, form % value),
                 (171, 684))
    assert text.read_number(Shot(screen), under, HUD_FONT, WHITE, 171, 684, (240, 56),
                            form) == value


def test_a_figure_out_of_place_or_of_other_text_reads_nothing(hud):
    under, text = hud
    for written_at, words in (((172, 684), "42"), ((171, 683), "42"), ((171, 684), "42x"),
                              ((171, 684), "4 2")):
        screen = under.copy()
        box = (written_at[0], written_at[1], written_at[0] + 240, written_at[1] + 56)
        screen.paste(text.write(under.crop(box), HUD_FONT, WHITE, words), box[:2])
        assert text.read_number(Shot(screen), under, HUD_FONT, WHITE, 171, 684,
                                (240, 56)) is None, (written_at, words)


def test_the_two_fonts_write_differently(hud):
    under, text = hud
    box = under.crop((0, 0, 120, 40))
    assert text.write(box, HUD_FONT, WHITE, "123") != text.write(box, SCORE_FONT, WHITE, "123")
