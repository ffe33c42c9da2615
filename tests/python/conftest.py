"""Shared helpers: the renderer to compare with (VORLA_RENDER, else the build folder) and its
files read back."""
import json
import os
import pathlib
import subprocess
import tempfile

import numpy as np
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


def with_texts(scene, texts):
    """The scene with edits holding `texts` as a scene file may: an edit may hold any text,
    which scene[name] = text refuses, as --set does."""
    with tempfile.TemporaryDirectory() as folder:
        path = pathlib.Path(folder) / "texts.json"
        scene.save(path)
        data = json.loads(path.read_text())
        data["controls"].update(texts)
        path.write_text(json.dumps(data))
        return vorla.Scene.load(path)
