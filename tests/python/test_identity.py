"""A picture from Python is the renderer's: the same pixels, the same value grid and the same
files, byte for byte, for every kind, on scenes of every task type and with every option."""
import filecmp

import numpy as np
import pytest

import vorla
from conftest import read_picture, run_renderer

SIZE = (120, 100)
# Example 3 under two circles and the squaring (every example under its own task type is
# test_every_example_in_every_kind_is_the_renderers').
SCENES = {
    "example 3, two circles": (3, 2),
    "example 3, squaring": (3, 6),
}


def scene_of(example, task=None):
    scene = vorla.Scene.example(example)
    if task:
        scene.task = task
    return scene


def options_of(example, task=None):
    return ["--example", example] + (["--task", task] if task else [])


@pytest.mark.parametrize("kind", vorla.KINDS)
@pytest.mark.parametrize("name", SCENES)
def test_pixels_and_grid_are_the_renderers(rendered, name, kind):
    example, task = SCENES[name]
    rgb, grid = rendered(*options_of(example, task), "--picture", kind, "--size",
                         f"{SIZE[0]}x{SIZE[1]}", "--seed", 7)
    picture = scene_of(example, task).render(kind, SIZE, seed=7)
    assert np.array_equal(picture.rgb, rgb) and np.array_equal(picture.grid, grid)


def test_every_example_in_every_kind_is_the_renderers(rendered):
    differ = []
    for example in range(1, 15):
        for kind in vorla.KINDS:
            rgb, grid = rendered("--example", example, "--picture", kind, "--size", "64x48",
                                 "--seed", 3)
            picture = vorla.Scene.example(example).render(kind, (64, 48), seed=3)
            if not np.array_equal(picture.rgb, rgb) or not np.array_equal(picture.grid, grid):
                differ.append((example, kind))
    assert differ == []


# Options of render() and the renderer's options that ask for the same.
OPTIONS = [
    ("overlay", 3, None, "convergence", {"overlay": True}, ["--overlay"]),
    ("clear", 3, None, "rectangle", {"clear": True}, ["--clear"]),
    ("fixed points", 3, 2, "periodicity", {"fixed_points": True}, ["--fixed-points"]),
    ("fixed points of the squaring", 3, 6, "convergence", {"fixed_points": True},
     ["--fixed-points"]),
    ("one thread", 10, None, "periodicity", {"threads": 1}, ["--threads", 1]),
    ("three threads", 10, None, "lyap-d", {"threads": 3, "seed": 99}, ["--threads", 3,
                                                                        "--seed", 99]),
    ("a seed", 3, None, "lyap-d", {"seed": 2**64 - 1}, ["--seed", 2**64 - 1]),
]


@pytest.mark.parametrize("case", OPTIONS, ids=[o[0] for o in OPTIONS])
def test_options_draw_the_renderers_pixels(rendered, case):
    _, example, task, kind, kwargs, options = case
    rgb, _ = rendered(*options_of(example, task), "--picture", kind, "--size", "120x100",
                      "--seed", 5, *options)
    picture = scene_of(example, task).render(kind, SIZE, **{"seed": 5, **kwargs})
    assert np.array_equal(picture.rgb, rgb)


def test_controls_set_draw_the_renderers_pixels(rendered):
    settings = {"EditKd": "2,75", "EditKr": "3/2", "SpinKonvergIter": "40", "LabelBA": "Navy",
                "LabelBB": "#102030", "LabelBC": "200,100,50", "EditPresnost": "0.05"}
    rgb, _ = rendered("--example", 3, "--size", "120x100",
                      *[a for k, v in settings.items() for a in ("--set", f"{k}={v}")])
    scene = vorla.Scene.example(3)
    for name, text in settings.items():
        scene[name] = text
    assert np.array_equal(scene.render(size=SIZE).rgb, rgb)


def test_a_loaded_scene_draws_the_renderers_picture_at_its_size(rendered, tmp_path):
    scene = vorla.Scene.example(12)
    scene.kind = "end-regions"
    scene.size = (90, 70)
    scene["SpinRegionIter"] = "5"
    scene.save(tmp_path / "s.json")
    rgb, _ = rendered("--scene", tmp_path / "s.json")
    assert np.array_equal(vorla.Scene.load(tmp_path / "s.json").render().rgb, rgb)


@pytest.mark.parametrize("kind, suffix", [("last-two", "png"), ("infinity", "bmp")])
def test_saved_picture_and_grid_are_the_renderers_files(tmp_path, kind, suffix):
    run_renderer("--example", 4, "--picture", kind, "--size", "100x80",
                 "--grid", tmp_path / "r.grid", tmp_path / f"r.{suffix}")
    picture = vorla.Scene.example(4).render(kind, (100, 80))
    picture.save(tmp_path / f"p.{suffix}", grid=tmp_path / "p.grid")
    for name in (f"{suffix}", "grid"):
        assert filecmp.cmp(tmp_path / f"p.{name}", tmp_path / f"r.{name}", shallow=False), name


def test_lyapunov_scale_is_the_renderers_scale_image(tmp_path):
    run_renderer("--example", 3, "--set", "LabelLyapPosit=Olive", "--size", "8x8",
                 "--scale-image", tmp_path / "scale.png", tmp_path / "r.png")
    scene = vorla.Scene.example(3)
    scene["LabelLyapPosit"] = "Olive"
    assert np.array_equal(scene.lyapunov_scale(), read_picture(tmp_path / "scale.png"))
