"""Generators of the game's pictures, sounds and fonts (run through tools/make_assets.py)."""
