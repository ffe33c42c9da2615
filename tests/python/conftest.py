"""Shared helpers: the renderer to compare with (VORLA_RENDER, else the build folder) and its
files read back."""
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
    done = subprocess.run([RENDER, *(["--quiet"] if quiet else []), *map(str, args)],
                          capture_output=True, text=True)
    assert done.returncode == 0 or not check, f"vorla-render {args}: {done.stderr}"
    return done


def read_picture(path):
    with Image.open(path) as image:
        return np.asarray(image.convert("RGB"))


def with_texts(folder, scene, texts):
    """The scene with controls holding `texts` as a scene file may: edits may hold any text,
    which scene[name] = text refuses, as --set does. Saved as folder/texts.json."""
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
    """rendered(*args): vorla-render's picture and value grid for the options, as arrays."""
    def render(*args):
        picture, grid = tmp_path / "r.png", tmp_path / "r.grid"
        run_renderer(*args, "--grid", grid, picture)
        head, values = grid.read_text().split("\n", 1)
        width, height, _ = map(int, head.split())
        values = np.array(values.split(), dtype=np.int32)
        return read_picture(picture), values.reshape(height, width)
    return render
