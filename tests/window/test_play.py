"""A game played through the real window: the HUD, the blast, steering to the play area's
edges, the magic attack, and a scripted run that ends when the health is gone."""

import time

import pytest

from harness import RESET_LINE, TAIKO_LINE, moves, screens
from harness.screens import PLAY_AREA
from harness.xsession import wait_until

NORMAL_LOOK = ["quimbo_normal"]  # the magician's sheet in its normal state and during the blast
BLAST_SECONDS = 5.0  # the blast lasts five seconds of game time


class Play:
    """One game, driven from the menu, with the readings the tests make of its frames."""

    def __init__(self, game, data):
        self.game, self.data = game, data
        self.blast_began = None

    def figures(self, shot):
        """Health, magic and score from the HUD; a figure that is not exactly where and as
        the game writes it fails the test."""
        values = screens.hud_figures(shot, self.data)
        for name, value in zip(("health", "magic", "score"), values):
            if value is None:
                pytest.fail("no %s figure where it belongs; screenshot: %s"
                            % (name, self.game.keep(shot)))
        return values

    def running_shot(self, what="a running frame"):
        return moves.shot_when(self.game, self.data, screens.is_running, what)

    def cloud_pixels(self, shot):
        return screens.actor_pixels(shot, self.data, "cloud")

    def blast(self):
        """Sets off the blast (Left Ctrl) and returns the health before and after it, and the
        first frame with the cloud. The key is refused unless the magician is in its normal
        state: a press is known refused once two more points are scored (at most one a
        frame) with no cloud, so at least one frame has run since the press, and is made
        again."""
        for _ in range(20):
            before = self.figures(self.running_shot())
            self.game.key("Control_L")
            pressed = self.figures(self.running_shot())[2]
            while True:
                shot = self.running_shot("a running frame after Left Ctrl")
                if self.cloud_pixels(shot) > 50:
                    self.blast_began = time.monotonic()
                    return before[0], self.figures(shot)[0], shot
                if self.figures(shot)[2] >= pressed + 2:
                    break
        pytest.fail("Left Ctrl never set off the blast")

    def blast_for_a_while(self, seconds=2.5):
        """Makes sure the blast has `seconds` left: on a slow machine the previous one may be
        about to end, so a new one follows it."""
        if time.monotonic() - self.blast_began < BLAST_SECONDS - seconds:
            return
        moves.shot_when(self.game, self.data,
                        lambda s, d: screens.is_running(s, d) and self.cloud_pixels(s) == 0,
                        "the end of the blast")
        self.blast()

    def steer_to(self, keys, corner, rows=None):
        """Holds the keys until the magician stands at `corner`, then holds them a little
        longer and checks it has stayed there: the play area's edges stop it."""
        for key in keys:
            self.game.keydown(key)
        try:
            def at_corner(shot, data):
                pos, match = screens.magician_position(shot, data, corner, 1, rows, NORMAL_LOOK)
                return pos == corner and match > 0.9
            moves.shot_when(self.game, self.data, at_corner, "the magician at %r" % (corner,))
            time.sleep(0.3)  # pushing on against the edge must not move it
            shot = self.game.screenshot()
            pos, match = screens.magician_position(shot, self.data, corner, 2, rows, NORMAL_LOOK)
            assert pos == corner and match > 0.9, "the magician left %r for %r (%.2f); " \
                "screenshot: %s" % (corner, pos, match, self.game.keep(shot))
        finally:
            for key in keys:
                self.game.keyup(key)


@pytest.fixture
def play(game, game_data):
    moves.menu_shown(game, game_data)
    return Play(game, game_data)


class TestHudAndMagicAttack:
    def test_hud_reads_full_health_and_magic_and_space_sends_stars(self, play):
        clicked = time.monotonic()
        first = moves.start_from_menu(play.game, play.data)
        waited = time.monotonic() - clicked
        health, magic, score = play.figures(first)
        assert (health, magic) == (100, 100)
        # One point is scored every tenth of a second of play, so the first running frame
        # seen shows a small score: no more than the time since the click allows.
        assert score <= max(20, 10 * waited + 1)

        # The first enemies need a second to reach the magician, so it is free to attack; a
        # press it was too busy for is made again.
        def cast():
            if play.game.count_output(TAIKO_LINE):
                return True
            play.game.key("space")
            return False
        wait_until(cast, interval=0.3, what="the magic attack")
        shot = moves.shot_when(play.game, play.data,
                               lambda s, d: screens.actor_pixels(s, d, "stars") > 20,
                               "stars after the magic attack")
        assert play.figures(shot)[1] < 100, "the attack spent no magic"


class TestBlastAndSteering:
    def test_blast_costs_health_shows_the_cloud_and_the_play_area_holds_the_magician(self,
                                                                                      play):
        moves.start_from_menu(play.game, play.data)
        w, h = play.data.frame_size("quimbo_normal")
        cx, cy = screens.MAGICIAN_START_CENTRE
        start = (cx - w // 2, cy - h // 2)
        before, after, shot = play.blast()
        assert after == before - 25
        # The cloud is anchored at the magician's top-left corner, behind it.
        cw, ch = play.data.frame_size("boost")
        inside = screens.actor_pixels(shot, play.data, "cloud",
                                      (start[0], start[1], start[0] + cw, start[1] + ch))
        assert inside == play.cloud_pixels(shot)

        # The blast makes the magician untouchable for five seconds, so nothing but the
        # keys moves it meanwhile: across the play area from corner to corner.
        left, top, right, bottom = PLAY_AREA
        play.blast_for_a_while()
        play.steer_to(["Up", "Left"], (left, top))
        play.blast_for_a_while()
        play.steer_to(["Down", "Right"], (right - w, bottom - h),
                      rows=screens.strip_top(play.data))


class TestScriptedRun:
    SEEN = ("enemies", "stars", "bubbles", "ball")
    LONGEST = 120  # seconds of play allowed for every kind of actor to show up

    def test_play_until_every_actor_was_seen_then_the_health_runs_out(self, play):
        game, data = play.game, play.data
        moves.start_from_menu(game, data)
        seen = {group: 0 for group in self.SEEN}
        scores = []  # (game number, score) readings
        games = 1
        began = time.monotonic()
        step = 0
        health = 100
        # Play until every kind of actor was seen and a few scores were read in one game;
        # the bonus ball comes last, after 7.5 to 12.5 seconds of game time. A game that
        # ends meanwhile is followed by a new one.
        while not (all(seen.values()) and len([g for g, _ in scores if g == games]) >= 3):
            assert time.monotonic() - began < self.LONGEST, \
                "in %d s of play only these were seen: %r" % (self.LONGEST, seen)
            shot = game.screenshot()
            if screens.is_game_over(shot, data):
                # Bitten to death early: a new game goes on with the same clocks.
                moves.new_game_from_game_over(game, data)
                games += 1
                continue
            if not screens.is_running(shot, data):
                continue
            for group in seen:
                if screens.actor_pixels(shot, data, group) > 20:
                    seen[group] += 1
            if step % 4 == 0:
                health, _, score = play.figures(shot)
                if health > 0:  # a falling magician scores no more
                    scores.append((games, score))
                # Magic refills a point every tenth of a second: an attack every few
                # steps sends out a burst of stars, seen best right after the key.
                game.key("space")
                if screens.actor_pixels(game.screenshot(), data, "stars") > 20:
                    seen["stars"] += 1
            elif step % 4 == 2 and seen["stars"] and health > 25:
                # Once stars were seen, the health goes on blasts, one after another (each
                # costs 25 and is refused while the last one lasts), while the rest come;
                # the last blast is left for the end.
                game.key("Control_L")
            # Up and down in turn, held while the next frame is looked at.
            key = ("Up", "Down")[step % 2]
            game.keydown(key)
            game.screenshot()
            game.keyup(key)
            step += 1

        assert game.count_output(TAIKO_LINE) > 0
        rising = [b - a for (ga, a), (gb, b) in zip(scores, scores[1:]) if ga == gb]
        assert rising and all(d > 0 for d in rising), "scores read: %r" % scores

        # Now spend the rest of the health on blasts until the magician falls, each blast
        # set off only once the score has gone on past the last one read.
        last_game_scores = [s for g, s in scores if g == games]
        last_read = last_game_scores[-1] if last_game_scores else -1

        def over():
            shot = game.screenshot()
            if screens.is_game_over(shot, data):
                return shot
            if screens.is_running(shot, data) and play.figures(shot)[2] > last_read:
                game.key("Control_L")
            return None
        over_shot = wait_until(over, timeout=120, interval=0.5, what="the game-over screen")
        final = screens.game_over_score(over_shot, data)
        assert final is not None, "no score on the game-over screen: %s" % game.keep(over_shot)
        assert final > last_read
        assert game.count_output(RESET_LINE) == games + 1

        game.key("Escape")
        moves.quit_from_menu(game, data)
