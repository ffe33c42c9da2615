"""Shared fixtures of the module's tests: the renderer to compare with, and its files read back.

CTest gives VORLA_RENDER (the built vorla-render) and puts the built module on PYTHONPATH; run
by hand, both are looked up in the build folder beside the sources.
"""
import json
import os
import pathlib
import subprocess

import numpy as np
import pytest
from PIL import Image

import vorla

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("VORLA_BUILD_DIR", ROOT / "build"))
RENDER = os.environ.get("VORLA_RENDER", str(BUILD / "src" / "vorla-render"))


def run_renderer(*args, check=True, quiet=True):
    """Runs vorla-render with `args` (and --quiet); the completed process (text output)."""
    options = ["--quiet"] if quiet else []
    done = subprocess.run([RENDER, *options, *map(str, args)], capture_output=True, text=True)
    if check and done.returncode != 0:
        raise AssertionError(f"vorla-render {' '.join(map(str, args))}: {done.stderr}")
    return done


def read_picture(path):
    """The pixels of a picture file as an (H, W, 3) uint8 array."""
    with Image.open(path) as image:
        return np.asarray(image.convert("RGB"))


def read_grid(path):
    """The value grid of a --grid file: its kind and an (H, W) int32 array."""
    lines = pathlib.Path(path).read_text().split("\n", 1)
    width, height, kind = map(int, lines[0].split())
    values = np.array(lines[1].split(), dtype=np.int32)
    return kind, values.reshape(height, width)


def with_texts(folder, scene, texts):
    """The scene with controls holding `texts` as a scene file may hold them: an edit any text,
    which scene[name] = text refuses unless it is a number, as --set does."""
    path = pathlib.Path(folder) / "texts.json"
    edits = {c["name"] for c in scene.controls() if c["kind"] == "edit"}
    scene = scene.copy()
    for name in texts.keys() - edits:
        scene[name] = texts[name]
    scene.save(path)
    data = json.loads(path.read_text())
    data["controls"].update({name: texts[name] for name in texts.keys() & edits})
    path.write_text(json.dumps(data))
    return vorla.Scene.load(path)


@pytest.fixture
def rendered(tmp_path):
    """rendered(*args): vorla-render's picture and grid for the options, as arrays."""
    count = [0]

    def render(*args):
        count[0] += 1
        picture = tmp_path / f"r{count[0]}.png"
        grid = tmp_path / f"r{count[0]}.grid"
        run_renderer(*args, "--grid", grid, picture)
        return read_picture(picture), read_grid(grid)[1]

    return render
