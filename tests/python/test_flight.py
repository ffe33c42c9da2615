"""vorla.flight: the frames' scenes of a movie, as vorla-render --animate writes them."""
import numpy as np
import pytest

import vorla
from conftest import run_renderer


def keyframes(size=(40, 30)):
    a = vorla.Scene.example(3)
    a.size = size
    a.kind = "convergence"
    return a, a.zoom(np.longdouble("0.8"), np.longdouble("1.3"), np.longdouble(1) / 1000)


# The frames' widths are the core's (tests/app/keyframes_test.cpp): the flight is checked here
# as the renderer's frames, scene for scene.
def test_the_frames_are_the_scene_files_of_the_renderers_frames(tmp_path):
    a, b = keyframes()
    a.save(tmp_path / "a.json")
    b.save(tmp_path / "b.json")
    run_renderer("--animate", tmp_path / "a.json", tmp_path / "b.json", "--frames", 5,
                 "--ease", "smooth", tmp_path / "out")
    frames = vorla.flight([a, b], 5, ease="smooth")
    for k, scene in enumerate(frames, start=1):
        assert scene == vorla.Scene.load(tmp_path / "out" / f"frame-{k:05d}.json"), k


def test_settings_the_keyframes_differ_in_are_the_first_ones_with_a_warning():
    a, b = keyframes()
    b.kind = "periodicity"
    with pytest.warns(UserWarning, match="picture kind"):
        frames = vorla.flight([a, b], 3)
    assert {s.kind for s in frames} == {a.kind}


@pytest.mark.parametrize("keys, frames, ease, error", [
    ("ab", 4, "linear", TypeError),
    ([1, 2], 4, "linear", TypeError),
    (None, 4, "linear", TypeError),
    ("one", 4, "linear", ValueError),
    ("pair", 1, "linear", ValueError),
    ("pair", 100000, "linear", ValueError),
    ("pair", 4, "bounce", ValueError),
    ("tasks", 4, "linear", ValueError),
])
def test_what_makes_no_flight_is_refused(keys, frames, ease, error):
    a, b = keyframes()
    if keys == "one":
        keys = [a]
    elif keys == "pair":
        keys = [a, b]
    elif keys == "tasks":
        b.task = 2 if a.task != 2 else 3
        keys = [a, b]
    with pytest.raises(error):
        vorla.flight(keys, frames, ease=ease)
