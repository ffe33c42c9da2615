"""A picture from Python is the renderer's: the same pixels, value grid and files, for every
kind, on scenes of every task type and with every option."""
import filecmp

import numpy as np
import pytest

import vorla
from conftest import read_picture, run_renderer


def scene_of(example, task):
    scene = vorla.Scene.example(example)
    scene.task = task or scene.task
    return scene


def check_same(rendered, picture, *options):
    rgb, grid = rendered(*options)
    assert np.array_equal(picture.rgb, rgb)
    assert np.array_equal(picture.grid, grid)


@pytest.mark.parametrize("kind", vorla.KINDS)
@pytest.mark.parametrize("task", [2, 6])  # example 3 under two circles and the squaring
def test_pixels_and_grid_are_the_renderers(rendered, task, kind):
    check_same(rendered, scene_of(3, task).render(kind, (120, 100), seed=7), "--example", 3,
               "--task", task, "--picture", kind, "--size", "120x100", "--seed", 7)


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


SETS = [a for s in ("EditKd=2,75", "EditKr=3/2", "SpinKonvergIter=40", "LabelBA=Navy",
                    "LabelBB=#102030", "LabelBC=200,100,50", "EditPresnost=0.05")
        for a in ("--set", s)]


@pytest.mark.parametrize("example, task, kind, kwargs, options", [
    (3, None, "convergence", {"overlay": True}, ["--overlay"]),
    (3, None, "rectangle", {"clear": True}, ["--clear"]),
    (3, 2, "periodicity", {"fixed_points": True}, ["--fixed-points"]),
    (3, 6, "convergence", {"fixed_points": True}, ["--fixed-points"]),
    (10, None, "periodicity", {"threads": 1}, ["--threads", 1]),
    (10, None, "lyap-d", {"threads": 3, "seed": 99}, ["--threads", 3, "--seed", 99]),
    (3, None, "lyap-d", {"seed": 2**64 - 1}, ["--seed", 2**64 - 1]),
    (3, None, "convergence", {}, SETS),
])
def test_options_and_controls_draw_the_renderers_picture(rendered, example, task, kind, kwargs,
                                                         options):
    scene = scene_of(example, task)
    for i in range(1, len(options), 2):  # --set NAME=TEXT is scene[NAME] = TEXT
        if options[i - 1] == "--set":
            scene.__setitem__(*options[i].split("=", 1))
    check_same(rendered, scene.render(kind, (120, 100), **{"seed": 5, **kwargs}), "--example",
               example, "--task", scene.task, "--picture", kind, "--size", "120x100",
               "--seed", 5, *options)


def test_a_loaded_scene_draws_the_renderers_picture_at_its_size(rendered, tmp_path):
    scene = vorla.Scene.example(12)
    scene.kind, scene.size, scene["SpinRegionIter"] = "end-regions", (90, 70), "5"
    scene.save(tmp_path / "s.json")
    check_same(rendered, vorla.Scene.load(tmp_path / "s.json").render(), "--scene",
               tmp_path / "s.json")


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
