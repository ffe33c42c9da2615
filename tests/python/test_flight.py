"""vorla.flight: the frames' scenes of a movie, as vorla-render --animate writes them."""
import numpy as np
import pytest

import vorla
from conftest import run_renderer


# The frames' widths are checked in the core's tests; here the flight is the renderer's frames.
def test_the_frames_are_the_scene_files_of_the_renderers_frames(tmp_path):
    a = vorla.Scene.example(3)
    a.size, a.kind = (40, 30), "convergence"
    b = a.zoom(np.longdouble("0.8"), np.longdouble("1.3"), np.longdouble(1) / 1000)
    a.save(tmp_path / "a.json")
    b.save(tmp_path / "b.json")
    run_renderer("--animate", tmp_path / "a.json", tmp_path / "b.json", "--frames", 5,
                 "--ease", "smooth", tmp_path / "out")
    for k, scene in enumerate(vorla.flight([a, b], 5, ease="smooth"), start=1):
        assert scene == vorla.Scene.load(tmp_path / "out" / f"frame-{k:05d}.json"), k
    # Settings the keyframes differ in are the first one's, with a warning.
    b.kind = "periodicity"
    with pytest.warns(UserWarning, match="picture kind"):
        assert {s.kind for s in vorla.flight([a, b], 3)} == {a.kind}
