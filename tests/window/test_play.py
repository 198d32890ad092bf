"""A game played through the real window: the HUD, the blast, steering to the play area's
edges, the magic attack, and a long scripted run that ends when the health is gone."""

import time
import unittest

import screens
from driver import DriverError, wait_until
from gametest import RESET_LINE, GameTestCase
from screens import PLAY_AREA, RED

TAIKO_LINE = "Quimbo taiko!"
NORMAL_LOOK = ["quimbo_normal"]  # the magician's sheet in its normal state and during the blast


class PlayTestCase(GameTestCase):
    def figures(self, shot):
        values, misses = screens.hud_figures(shot, self.data)
        for name, value, miss in zip(("health", "magic", "score"), values, misses):
            if value is None or miss > 0.35:
                self.fail("no %s figure where it belongs (mismatch %.2f); screenshot: %s"
                          % (name, miss, self.game.keep(shot)))
        return values

    def cloud_pixels(self, shot):
        return screens.actor_pixels(shot, self.data, "cloud")

    def blast(self):
        """Sets off the blast (Left Ctrl), retrying while the magician is busy (the key is
        refused unless it is in its normal state); returns the health before and after."""
        for _ in range(3):
            before = self.figures(self.game.screenshot())[0]
            self.game.key("Control_L")
            try:
                shot = self.shot_when(lambda s, d: self.cloud_pixels(s) > 50, "the blast cloud",
                                      timeout=3)
            except DriverError:
                continue
            self.blast_began = time.monotonic()
            return before, self.figures(shot)[0], shot
        self.fail("Left Ctrl never set off the blast")

    def blast_for_a_while(self, seconds=2.5):
        """Makes sure the blast, which lasts five seconds, has `seconds` left: on a slow
        machine the previous one may be about to end, so a new one follows it."""
        if time.monotonic() - self.blast_began < 5.0 - seconds:
            return
        self.shot_when(lambda s, d: screens.is_running(s, d) and self.cloud_pixels(s) == 0,
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
            self.shot_when(at_corner, "the magician at %r" % (corner,), timeout=10)
            time.sleep(0.3)
            shot = self.game.screenshot()
            pos, match = screens.magician_position(shot, self.data, corner, 2, rows, NORMAL_LOOK)
            self.assertTrue(pos == corner and match > 0.9, "the magician left %r for %r (%.2f); "
                            "screenshot: %s" % (corner, pos, match, self.game.keep(shot)))
        finally:
            for key in keys:
                self.game.keyup(key)


class HudAndMagicAttack(PlayTestCase):
    def test_hud_reads_full_health_and_magic_and_space_sends_stars(self):
        self.menu_shown()
        first = self.start_game_from_menu()
        health, magic, score = self.figures(first)
        self.assertEqual((health, magic), (100, 100))
        # One point is scored every tenth of a second of play, so a picture taken a
        # moment after the start shows a small score.
        self.assertLessEqual(score, 20)

        # The first enemies need a second to reach the magician, so it is free to attack.
        self.game.key("space")
        self.game.wait_for_output(TAIKO_LINE)
        shot = self.shot_when(lambda s, d: screens.actor_pixels(s, d, "stars") > 20,
                              "stars after the magic attack")
        self.assertLess(self.figures(shot)[1], 100, "the attack spent no magic")


class BlastAndSteering(PlayTestCase):
    def test_blast_costs_health_shows_the_cloud_and_the_play_area_holds_the_magician(self):
        self.menu_shown()
        self.start_game_from_menu()
        w, h = self.data.frame_size("quimbo_normal")
        start = (512 - w // 2, 320 - h // 2)
        before, after, shot = self.blast()
        self.assertEqual(after, before - 25)
        # The cloud is anchored at the magician's top-left corner, behind it.
        cw, ch = self.data.frame_size("boost")
        inside = screens.actor_pixels(shot, self.data, "cloud",
                                      (start[0], start[1], start[0] + cw, start[1] + ch))
        self.assertEqual(inside, self.cloud_pixels(shot))

        # The blast makes the magician untouchable for five seconds, so nothing but the
        # keys moves it meanwhile: across the play area from corner to corner.
        left, top, right, bottom = PLAY_AREA
        self.blast_for_a_while()
        self.steer_to(["Up", "Left"], (left, top))
        self.blast_for_a_while()
        self.steer_to(["Down", "Right"], (right - w, bottom - h), rows=screens.strip_top(self.data))


class ScriptedRun(PlayTestCase):
    PLAY_SECONDS = 32

    def test_half_a_minute_of_play_then_the_health_runs_out(self):
        self.menu_shown()
        self.start_game_from_menu()
        seen = {group: 0 for group in ("enemies", "stars", "bubbles", "ball")}
        scores = []  # (game number, score) readings
        games = 1
        began = time.monotonic()
        step = 0
        while time.monotonic() - began < self.PLAY_SECONDS:
            shot = self.game.screenshot()
            if screens.is_game_over(shot, self.data):
                # Bitten to death early: a new game goes on with the same clocks.
                self.game.key("Return")
                games += 1
                self.game.wait_for_output(RESET_LINE, games + 1)
                continue
            if not screens.is_running(shot, self.data):
                continue
            for group in seen:
                if screens.actor_pixels(shot, self.data, group) > 20:
                    seen[group] += 1
            if step % 8 == 0:
                scores.append((games, self.figures(shot)[2]))
            if step % 4 == 0:
                # Magic refills a point every tenth of a second: an attack every few
                # seconds sends out a burst of stars, seen best right after the key.
                self.game.key("space")
                if screens.actor_pixels(self.game.screenshot(), self.data, "stars") > 20:
                    seen["stars"] += 1
            self.game.hold(("Up", "Down")[step % 2], 0.15)
            step += 1

        for group, count in seen.items():
            self.assertGreater(count, 0, "no %s seen in %d s of play" % (group, self.PLAY_SECONDS))
        self.assertGreater(self.game.count_output(TAIKO_LINE), 0)
        rising = [b - a for (ga, a), (gb, b) in zip(scores, scores[1:]) if ga == gb]
        self.assertTrue(rising and all(d > 0 for d in rising), "scores read: %r" % scores)

        # Now spend the health on blasts (each costs 25) until the magician falls.
        def over():
            shot = self.game.screenshot()
            if screens.is_game_over(shot, self.data):
                return shot
            self.game.key("Control_L")
            return None
        over_shot = wait_until(over, timeout=120, interval=0.5, what="the game-over screen")
        x, y = self.data.centred("gameover")
        dx, dy = screens.GAME_OVER_SCORE_OFFSET
        under = over_shot.image.copy()
        under.paste((0, 0, 0), (0, 0, 1024, 768))
        under.paste(self.data.picture("gameover"), (x, y))
        final, miss = screens.read_figure(over_shot, under, self.data.font("verdanab.ttf", 14),
                                          RED, x + dx, y + dy, (120, 24))
        self.assertLess(miss, 0.4)
        last_game_scores = [s for g, s in scores if g == games]
        if last_game_scores:
            self.assertGreater(final, last_game_scores[-1])

        self.game.key("Escape")
        self.quit_from_menu()


if __name__ == "__main__":
    unittest.main()
