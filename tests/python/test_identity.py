"""A picture from Python is the renderer's: the same pixels, value grid and files, for every
kind, on scenes of every task type and with every option."""
import filecmp

import numpy as np
import pytest

import vorla
from conftest import read_picture, run_renderer

SETS = {"EditKd": "2,75", "EditKr": "3/2", "SpinKonvergIter": "40", "LabelBA": "Navy",
        "LabelBB": "#102030", "LabelBC": "200,100,50", "EditPresnost": "0.05"}


def differs(tmp_path, example, kind, size, task=None, **kwargs):
    """What of the picture and grid render(kind, size, **kwargs) gives is not the renderer's with
    the same options: each keyword is the option of its name, each of sets={name: text} a --set."""
    scene = vorla.Scene.example(example)
    scene.task = task or scene.task
    options = ["--task", task] if task else []
    for name, text in kwargs.pop("sets", {}).items():
        scene[name] = text
        options += ["--set", f"{name}={text}"]
    for name, value in kwargs.items():
        options += [f"--{name.replace('_', '-')}", *([] if value is True else [value])]
    run_renderer("--example", example, "--picture", kind, "--size", "%dx%d" % size, *options,
                 "--grid", tmp_path / "r.grid", tmp_path / "r.png")
    picture = scene.render(kind, size, **kwargs)
    head, values = (tmp_path / "r.grid").read_text().split("\n", 1)
    return [what for what, same in (
        ("size", head.startswith("%d %d " % size)),
        ("rgb", np.array_equal(picture.rgb, read_picture(tmp_path / "r.png"))),
        ("grid", np.array_equal(picture.grid.ravel(), np.array(values.split(), dtype=np.int32))))
        if not same]


def test_every_example_and_two_task_types_in_every_kind_are_the_renderers(tmp_path):
    # Example 3 also under two circles and under the squaring.
    scenes = [(n, None, (64, 48)) for n in range(1, 15)] + [(3, t, (120, 100)) for t in (2, 6)]
    assert [(n, task, kind, what) for n, task, size in scenes for kind in vorla.KINDS
            for what in differs(tmp_path, n, kind, size, task, seed=3)] == []


@pytest.mark.parametrize("example, task, kind, kwargs", [
    (3, None, "convergence", {"overlay": True}), (3, None, "rectangle", {"clear": True}),
    (3, 2, "periodicity", {"fixed_points": True}), (3, None, "convergence", {"sets": SETS}),
    (10, None, "lyap-d", {"threads": 3, "seed": 2**64 - 1}),
])
def test_options_and_controls_draw_the_renderers_picture(tmp_path, example, task, kind, kwargs):
    assert differs(tmp_path, example, kind, (120, 100), task, **{"seed": 5, **kwargs}) == []


@pytest.mark.parametrize("kind, suffix", [("last-two", "png"), ("infinity", "bmp")])
def test_saved_picture_grid_and_scale_are_the_renderers_files(tmp_path, kind, suffix):
    run_renderer("--example", 4, "--picture", kind, "--size", "100x80", "--set",
                 "LabelLyapPosit=Olive", "--scale-image", tmp_path / "scale.png",
                 "--grid", tmp_path / "r.grid", tmp_path / f"r.{suffix}")
    scene = vorla.Scene.example(4)
    scene["LabelLyapPosit"] = "Olive"
    scene.render(kind, (100, 80)).save(tmp_path / f"p.{suffix}", grid=tmp_path / "p.grid")
    for name in (suffix, "grid"):
        assert filecmp.cmp(tmp_path / f"p.{name}", tmp_path / f"r.{name}", shallow=False), name
    assert np.array_equal(scene.lyapunov_scale(), read_picture(tmp_path / "scale.png"))
