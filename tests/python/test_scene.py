"""Scenes: examples, files, copies, the task type, the controls by the window's names with the
renderer's checks, and the view."""
import numpy as np
import pytest

import vorla
from conftest import run_renderer


def test_a_saved_scene_loads_equal(tmp_path):
    scene = vorla.Scene.example(9)
    scene["EditKa"], scene["LabelBH"], scene["CheckBila"] = "1/7", "12,34,56", "off"
    scene.kind, scene.size = "lyap-x", (20000, 300)  # beyond a screen: a poster's scene
    scene.save(tmp_path / "s.json")
    assert vorla.Scene.load(str(tmp_path / "s.json")) == scene
    with pytest.raises(OSError, match="cannot write"):
        scene.save(tmp_path)


@pytest.mark.parametrize("content, error, says", [
    ("{", ValueError, "bad.json: not a readable scene"),
    (None, OSError, "bad.json: cannot be read"),  # no file at all
    ('{"format": "vorla-scene", "version": 1, "taskType": 2, "later": 1, "controls": {}}',
     UserWarning, "unknown key later ignored"),
])
def test_a_bad_scene_file_is_refused_naming_what_is_wrong(tmp_path, content, error, says):
    if content is not None:
        (tmp_path / "bad.json").write_text(content)
    with (pytest.warns if error is UserWarning else pytest.raises)(error, match=says):
        vorla.Scene.load(tmp_path / "bad.json")


def test_a_copy_is_a_scene_of_its_own_and_unequal_to_what_is_no_scene():
    scene = vorla.Scene.example(3)
    copy = scene.copy()
    copy["EditKd"], copy.task = "2", 5
    assert (scene["EditKd"], scene.task, copy.task) == ("3.0", 3, 5)
    copy.task = None
    assert copy.task is None
    assert [scene != other for other in (None, 3, "scene", scene.view)] == [True] * 4


# scene[name] = text takes a text exactly when vorla-render --set NAME=TEXT takes it, or says
# why not as the renderer does.
@pytest.mark.parametrize("name, text", [
    ("EditKd", "1/3"), ("EditKd", "abc"), ("SpinKonvergIter", "5000000"), ("SpinKonvergIter", "-1"),
    ("CheckClear", "no"), ("CheckClear", "maybe"), ("LabelBA", "1,2,3"), ("LabelBA", "#GG0000"),
    ("EditKx", "1"), ("editkd", "1"),
])
def test_a_control_takes_what_the_renderers_set_takes(name, text):
    renderer = run_renderer("--print-scene", "--set", f"{name}={text}", check=False)
    try:
        vorla.Scene()[name] = text
        said = None
    except (KeyError, ValueError) as e:
        said = "vorla-render: " + e.args[0]
    assert said == (renderer.stderr.splitlines()[0] if renderer.returncode else None)


@pytest.mark.parametrize("name, given, read", [
    ("EditKd", 2.5, "2.5"), ("EditKd", np.longdouble(1) / 3, str(np.longdouble(1) / 3)),
    ("SpinKonvergIter", "77", 77), ("SpinKonvergIter", "5000000", 1000000),
    ("CheckClear", "yes", True), ("LabelB1", "0,0,128", "Navy"),
])
def test_a_control_reads_back_as_a_scene_file_holds_it(name, given, read):
    scene = vorla.Scene()
    scene[name] = given
    assert scene[name] == read


def test_controls_list_every_control_once_with_its_kind_default_and_range():
    controls = vorla.Scene().controls()
    assert [c["name"] for c in controls] == list(vorla.Scene())
    assert [c["value"] for c in controls] == [c["default"] for c in controls]
    expected = {"EditKd": ("edit", None, None, "3"), "SpinKonvergIter": ("spin", 1, 1000000, 200),
                "SpinNumRect": ("spin", 1, 12, 6), "CheckClear": ("check", None, None, False),
                "LabelBA": ("colour", None, None, "Navy")}
    assert {c["name"]: (c["kind"], c["min"], c["max"], c["default"]) for c in controls
            if c["name"] in expected} == expected


def test_the_view_is_read_in_extended_reals_and_moved_in_a_new_scene():
    scene = vorla.Scene.example(3)
    view = scene.view
    assert (view.x_from, view.x_to, view.y_rel) == (-3, 7, np.longdouble(1) / 3)
    moved = scene.with_view("-1", 2.5, np.longdouble(1) / 7)
    assert (moved.view.texts, moved.view.y_rel, scene.view.texts) == (
        ("-1", "2.5", str(np.longdouble(1) / 7)), np.longdouble(1) / 7, ("-3", "7", "1/3"))
    # A zoom about (1, 1) by 1/2 keeps that point in its place: the X axis drops from 1/3 of
    # the height to 1/3 - 542 / 4500, 1 over the old height of 10 * 450 / 542.
    assert scene.zoom(1, 1, 0.5).view.texts == ("-1", "4", "0.2128888888888888889")


def test_help_shows_a_docstring_for_every_public_member():
    undocumented = [f"{cls.__name__}.{name}" for cls in (vorla.Scene, vorla.Picture, vorla.View)
                    for name in dir(cls) if not name.startswith("_")
                    and not (getattr(cls, name).__doc__ or "").strip()]
    assert undocumented == []
