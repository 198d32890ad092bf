"""The one palette of the game: a storybook dusk.

Sky and land are soft and dark; actors carry the saturated accents. Every colour
here is far from the colour key (0, 255, 0), which canvas.py checks on output.
"""

KEY = (0, 255, 0)

INK = (34, 20, 50)  # the 2-px outline of every actor

# Sky, from the zenith down to the horizon.
NIGHT = (20, 22, 62)
DUSK = (42, 44, 112)
VIOLET = (96, 66, 146)
MAUVE = (162, 94, 150)
PINK = (232, 132, 128)
ORANGE = (248, 170, 92)
GLOW = (255, 218, 140)

# Land: muted greens, browns and stone.
FAR_HILL = (74, 56, 108)
NEAR_HILL = (58, 60, 98)
GRASS_DK = (40, 70, 64)
GRASS = (66, 102, 72)
GRASS_LT = (102, 136, 84)
SOIL = (86, 58, 52)
WOOD = (122, 80, 58)
WOOD_LT = (166, 116, 76)
STONE_DK = (78, 74, 96)
STONE = (116, 110, 130)
STONE_LT = (156, 150, 168)
ROOF = (150, 62, 70)
WINDOW = (255, 206, 110)

# Actors.
ROBE_DK = (76, 40, 138)
ROBE = (118, 70, 196)
ROBE_LT = (164, 124, 236)
SKIN_DK = (206, 142, 118)
SKIN = (246, 198, 164)
BEARD = (238, 236, 246)
CARPET_DK = (142, 26, 58)
CARPET = (206, 48, 72)
CARPET_LT = (244, 108, 104)
GOLD_DK = (206, 128, 28)
GOLD = (255, 200, 56)
GOLD_LT = (255, 242, 168)
WHITE = (252, 250, 244)
BUBBLE_DK = (112, 164, 220)
BUBBLE = (176, 214, 248)
BUBBLE_LT = (222, 240, 255)
SLIME_DK = (88, 142, 46)
SLIME = (140, 200, 70)
SLIME_LT = (194, 230, 118)
RED_DK = (150, 22, 34)
RED = (222, 44, 44)
RED_LT = (252, 116, 92)
ROBIN_DK = (196, 82, 52)
ROBIN = (240, 128, 76)
ROBIN_LT = (255, 180, 120)
CANARY_DK = (214, 160, 40)
CANARY = (250, 214, 84)
CANARY_LT = (255, 240, 170)
CLOUD_DK = (176, 150, 200)
CLOUD = (222, 204, 236)
CLOUD_LT = (250, 244, 252)
SMOKE_DK = (88, 84, 100)
SMOKE = (132, 128, 146)
PARCHMENT_DK = (214, 188, 140)
PARCHMENT = (240, 224, 184)
PARCHMENT_LT = (252, 244, 218)
PANEL_DK = (24, 16, 26)
PANEL = (58, 36, 34)
PANEL_LT = (96, 62, 48)
BEARD_DK = (186, 182, 210)

# The magician's gown: pale enough to stand out at every height of the sky, from the night
# at the top of the play area to the mauve glow at its bottom.
GOWN_DK = (150, 118, 222)
GOWN = (210, 192, 255)
GOWN_LT = (240, 234, 255)
# The moonlit rim just outside the magician's dark outline, so his shape reads on the night sky.
AURA = (255, 228, 160)
# The blast's fire, from white-hot gold to the magenta of its cooling puffs.
BLAST_LT = (255, 236, 150)
BLAST = (255, 158, 62)
BLAST_DK = (232, 86, 88)
BLAST_EDGE = (176, 48, 124)
