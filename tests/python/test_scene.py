"""Scenes: examples, files, copies, the task type, the controls by the window's names with the
renderer's checks, and the view."""
import json
import re

import numpy as np
import pytest

import vorla
from conftest import run_renderer

CIRCLES = ["EditKd", "EditKr", "EditKm", "EditKn", "EditKs", "EditKu", "EditKv", "EditKw",
           "EditKa", "EditKb", "EditKc"]


def test_a_new_scene_holds_the_windows_defaults_and_no_task_type():
    controls = vorla.Scene().controls()
    assert [c["value"] for c in controls] == [c["default"] for c in controls]
    assert vorla.Scene().task is None


def test_examples_are_the_renderers():
    differ = []
    for n in range(1, 15):
        scene = vorla.Scene.example(n)
        text = f"{scene.task}=" + "".join(scene[name] + "=" for name in CIRCLES)
        printed = run_renderer("--print-scene", "--example", n).stdout.strip()
        if printed != text:
            differ.append((n, printed, text))
    assert differ == []


@pytest.mark.parametrize("n, error", [(0, ValueError), (15, ValueError), (-1, ValueError),
                                      (2**70, ValueError), ("3", TypeError), (3.0, TypeError),
                                      (True, TypeError), (None, TypeError)])
def test_example_refuses_what_is_no_example(n, error):
    with pytest.raises(error, match="example takes a whole number from 1 to 14"):
        vorla.Scene.example(n)


def test_a_saved_scene_loads_equal_and_a_windows_scene_file_loads(tmp_path):
    scene = vorla.Scene.example(9)
    scene["EditKa"] = "1/7"
    scene["LabelBH"] = "12,34,56"
    scene["CheckBila"] = "off"
    scene.kind = "lyap-x"
    scene.size = (20000, 300)  # beyond a screen: a poster's scene
    scene.save(tmp_path / "s.json")
    assert vorla.Scene.load(str(tmp_path / "s.json")) == scene
    # A scene file the window wrote.
    (tmp_path / "w.json").write_text(json.dumps({
        "format": "vorla-scene", "version": 1, "taskType": 2, "picture": "convergence",
        "tabula": {"width": 542, "height": 450},
        "controls": {"EditKd": "3", "EditKr": "1/3", "SpinKonvergIter": 50, "CheckClear": True,
                     "LabelB1": "Navy", "LabelBA": "#1E90FF"}}))
    scene = vorla.Scene.load(tmp_path / "w.json")
    assert (scene.task, scene["EditKr"], scene["SpinKonvergIter"], scene["LabelBA"]) == (
        2, "1/3", 50, "#1E90FF")


@pytest.mark.parametrize("content, error, says", [
    ("{", ValueError, "not a readable scene"),
    ('{"format": "other"}', ValueError, "format"),
    ('{"format": "vorla-scene", "version": 2, "taskType": 2, "controls": {}}', ValueError,
     "newer"),
    ('{"format": "vorla-scene", "version": 1, "taskType": 2,'
     ' "controls": {"SpinKonvergIter": 1e300}}', ValueError,
     "controls.SpinKonvergIter: takes a whole"),
    (None, OSError, "cannot be read"),  # no file at all
])
def test_a_bad_scene_file_is_refused_naming_what_is_wrong(tmp_path, content, error, says):
    if content is not None:
        (tmp_path / "bad.json").write_text(content)
    with pytest.raises(error, match=says):
        vorla.Scene.load(tmp_path / "bad.json")


def test_an_unknown_key_of_a_scene_file_is_warned_of(tmp_path):
    (tmp_path / "s.json").write_text(
        '{"format": "vorla-scene", "version": 1, "taskType": 3, "later": 1, "controls": {}}')
    with pytest.warns(UserWarning, match="unknown key later ignored"):
        vorla.Scene.load(tmp_path / "s.json")


def test_saving_into_a_folder_raises_oserror(tmp_path):
    with pytest.raises(OSError, match="cannot write"):
        vorla.Scene.example(1).save(tmp_path)


@pytest.mark.parametrize("other", [None, 3, "scene", vorla.Scene.example(3).view])
def test_a_scene_is_unequal_to_what_is_no_scene(other):
    assert vorla.Scene() != other


def test_a_copy_is_a_scene_of_its_own():
    scene = vorla.Scene.example(3)
    copy = scene.copy()
    copy["EditKd"] = "2"
    copy.task = 5
    assert (scene["EditKd"], scene.task) == ("3.0", 3)


@pytest.mark.parametrize("task, error", [(2, None), (6, None), (None, None), (1, ValueError),
                                         (7, ValueError), (-1, ValueError), ("3", TypeError),
                                         (2.0, TypeError), (True, TypeError)])
def test_task_takes_two_to_six_or_none_and_refuses_the_rest(task, error):
    scene = vorla.Scene.example(1)
    if error is None:
        scene.task = task
        assert scene.task == task
    else:
        with pytest.raises(error, match="task takes a whole number from 2 to 6"):
            scene.task = task


# Texts given to a control, each taken by scene[name] = text exactly when vorla-render --set
# NAME=TEXT takes it.
SETS = [
    ("EditKd", "abc"), ("EditKd", "1/3"), ("EditKd", "2,5"), ("EditKd", ""),
    ("SpinKonvergIter", "12"), ("SpinKonvergIter", "5000000"), ("SpinKonvergIter", "+3"),
    ("SpinKonvergIter", " 3"), ("SpinKonvergIter", "-1"), ("SpinKonvergIter", "1e3"),
    ("SpinKonvergIter", "99999999999999999999"), ("SpinKonvergIter", ""),
    ("CheckClear", "on"), ("CheckClear", "no"), ("CheckClear", "1"), ("CheckClear", "maybe"),
    ("CheckClear", "ON"), ("LabelBA", "Navy"), ("LabelBA", "#102030"), ("LabelBA", "#-12345"),
    ("LabelBA", "1,2,3"), ("LabelBA", "256,0,0"), ("LabelBA", "navy"), ("LabelBA", "#GG0000"),
    ("Nonsense", "1"), ("editkd", "1"),
]


@pytest.mark.parametrize("name, text", SETS)
def test_a_control_takes_what_the_renderers_set_takes(name, text):
    renderer = run_renderer("--print-scene", "--set", f"{name}={text}", check=False)
    try:
        vorla.Scene()[name] = text
        taken = True
    except (KeyError, ValueError):
        taken = False
    assert taken == (renderer.returncode == 0), renderer.stderr


@pytest.mark.parametrize("name, value, error, says", [
    ("SpinLimit", "+3", ValueError, "SpinLimit takes a whole number, not '+3'"),
    ("CheckUplnost", "maybe", ValueError, "CheckUplnost takes on or off"),
    ("LabelBA", "#GG0000", ValueError, "LabelBA takes a colour"),
    ("EditKx", "1", KeyError, "unknown control 'EditKx'; valid names: EditKd EditKr"),
])
def test_a_refused_value_names_the_control_and_what_it_takes(name, value, error, says):
    with pytest.raises(error, match=re.escape(says)):
        vorla.Scene()[name] = value


@pytest.mark.parametrize("name, given, read", [
    ("EditKd", "2,5", "2,5"), ("EditKd", 2.5, "2.5"), ("EditKd", np.longdouble(1) / 3,
                                                         str(np.longdouble(1) / 3)),
    ("SpinKonvergIter", "77", 77), ("SpinKonvergIter", 77, 77),
    ("SpinKonvergIter", "5000000", 1000000), ("CheckClear", "yes", True),
    ("CheckClear", False, False), ("LabelB1", "0,0,128", "Navy"),
    ("LabelB1", "#010203", "#010203"),
])
def test_a_control_reads_back_as_a_scene_file_holds_it(name, given, read):
    scene = vorla.Scene()
    scene[name] = given
    assert scene[name] == read


@pytest.mark.parametrize("name, expected", [
    ("EditKd", {"kind": "edit", "min": None, "max": None, "default": "3"}),
    ("SpinKonvergIter", {"kind": "spin", "min": 1, "max": 1000000, "default": 200}),
    ("SpinNumRect", {"kind": "spin", "min": 1, "max": 12, "default": 6}),
    ("CheckClear", {"kind": "check", "min": None, "max": None, "default": False}),
    ("LabelBA", {"kind": "colour", "min": None, "max": None, "default": "Navy"}),
])
def test_controls_list_every_control_once_with_its_kind_default_and_range(name, expected):
    names = [c["name"] for c in vorla.Scene().controls()]
    assert names == list(vorla.Scene()) and len(set(names)) == len(vorla.Scene())
    control = next(c for c in vorla.Scene().controls() if c["name"] == name)
    assert {k: control[k] for k in expected} == expected


def test_the_view_is_read_as_extended_reals_and_with_view_writes_the_fields_of_a_new_scene():
    scene = vorla.Scene.example(3)
    view = scene.view
    assert (view.x_from, view.x_to, view.y_rel) == (-3, 7, np.longdouble(1) / 3)
    moved = scene.with_view("-1", 2.5, np.longdouble(1) / 7)
    assert (moved.view.texts, moved.view.y_rel, scene.view.texts) == (
        ("-1", "2.5", str(np.longdouble(1) / 7)), np.longdouble(1) / 7, ("-3", "7", "1/3"))


@pytest.mark.parametrize("view, says", [
    (("2", "2", "0.5"), "are equal"),
    (("abc", "2", "0.5"), "x_from takes a number"),
    (("0", "1e-4945", "0.5"), "too far apart or too close"),
    (("0", "1", "1e4900"), "beyond the numbers"),
])
def test_with_view_refuses_a_range_without_a_scale(view, says):
    with pytest.raises(ValueError, match=says):
        vorla.Scene.example(3).with_view(*view)


def test_zoom_scales_the_width_and_keeps_the_point_where_it_is_in_the_picture():
    view = vorla.Scene.example(3).zoom(1, 0, 0.5).view
    assert (view.x_from, view.x_to) == (-1, 4)
    scene = vorla.Scene.example(3)
    scene.size = (60, 50)
    cx, cy = np.longdouble("0.8"), np.longdouble("1.3")

    def place(s):
        left, right, bottom, top = s.render("nth").extent
        return (float(cx) - left) / (right - left), (float(cy) - bottom) / (top - bottom)

    assert np.allclose(place(scene.zoom(cx, cy, 0.125)), place(scene), atol=1e-12)


@pytest.mark.parametrize("factor, error", [(0, ValueError), (-2, ValueError),
                                           (float("nan"), ValueError), (float("inf"), ValueError),
                                           ("2", TypeError),
                                           (np.finfo(np.longdouble).smallest_subnormal * 64,
                                            ValueError)])
def test_zoom_refuses_a_factor_that_gives_no_view(factor, error):
    with pytest.raises(error):
        vorla.Scene.example(3).zoom(0, 0, factor)


def test_help_shows_a_docstring_for_every_public_member():
    undocumented = [f"{cls.__name__}.{name}" for cls in (vorla.Scene, vorla.Picture, vorla.View)
                    for name in dir(cls) if not name.startswith("_")
                    and not (getattr(cls, name).__doc__ or "").strip()]
    assert undocumented == []
    assert "as vorla-render draws it" in vorla.Scene.render.__doc__
