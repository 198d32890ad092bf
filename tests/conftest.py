"""Fixtures that every pytest suite under tests/ may use; a suite that uses none pays nothing
(the helpers are imported only when a fixture is asked for).

pytest.ini at the project root puts tests/ on the import path, so a test module imports the
shared helpers as `from harness import screens, xsession`.

    game_binary   the game under test ($QUIMBO_BIN, else build/quimbo): missing fails the test
    data_root     the folder holding Data/ that the game runs in ($QUIMBO_DATA_ROOT, else here)
    game_data     the game's pictures and fonts, loaded on demand, for the screen checks
    game          the game in its own Xvfb, its first reset printed; stopped after the test
    headless_game a function that starts the game with SDL's dummy video driver, stopped after
                  the test: headless_game(env={...}, audio_driver="disk")
"""

import pytest

import harness


@pytest.fixture(scope="session")
def game_binary():
    return harness.game_binary()


@pytest.fixture(scope="session")
def data_root():
    return harness.data_root()


@pytest.fixture(scope="session")
def game_data(data_root):
    from harness.screens import Data
    data = Data(data_root)
    yield data
    data.close()


@pytest.fixture
def game(game_binary, data_root):
    from harness.xsession import Session
    with Session(game_binary, data_root=data_root) as session:
        session.wait_for_output(harness.RESET_LINE)
        yield session


@pytest.fixture
def headless_game(game_binary, data_root):
    from harness.xsession import Session
    started = []

    def start(env=None, audio_driver="dummy"):
        session = Session(game_binary, data_root=data_root, env=env, headless=True,
                          audio_driver=audio_driver)
        started.append(session)
        return session.__enter__()
    yield start
    for session in started:
        session.stop()
