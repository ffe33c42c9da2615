"""Nothing a user passes crashes the interpreter: the setters and the operations, fed anything,
either do their work or raise one of the documented exceptions. Hypothesis draws the inputs;
a crash would end the whole run."""
import os
import warnings

import numpy as np
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import vorla
from conftest import with_texts

REFUSALS = (KeyError, ValueError, TypeError)
# VORLA_FUZZ_EXAMPLES=N runs longer by hand.
EXAMPLES = int(os.environ.get("VORLA_FUZZ_EXAMPLES", "150"))
FUZZ = settings(max_examples=EXAMPLES, deadline=None, database=None,
                suppress_health_check=[HealthCheck.too_slow])

NAMES = [c["name"] for c in vorla.Scene().controls()]
numbers = st.one_of(st.integers(), st.floats(), st.floats(allow_nan=False, width=32),
                    st.decimals(allow_nan=False).map(str),
                    st.sampled_from(["1/3", "1/0", "0/0", "2,5", "1e4932", "1e-4950", "-0",
                                     "1e", " 7 ", "+-1", "0x10", "inf", "nan", "1" * 400]))
anything = st.one_of(st.none(), st.booleans(), numbers, st.text(), st.binary(),
                     st.lists(st.integers(), max_size=3), st.complex_numbers(),
                     st.tuples(st.integers(), st.integers()), st.just(object()),
                     st.just(np.longdouble("0.1")), st.just(np.array([1, 2])))
texts = st.one_of(st.text(), numbers.map(str), st.sampled_from(
    ["on", "off", "Navy", "#102030", "1,2,3", "256,0,0", "\x00", "\ud800"]))


@FUZZ
@given(name=st.one_of(st.sampled_from(NAMES), anything), value=anything)
def test_setting_a_control_to_anything_sets_it_or_refuses(name, value):
    scene = vorla.Scene.example(3)
    try:
        scene[name] = value
    except REFUSALS:
        return
    assert scene[name] is not None


@FUZZ
@given(task=anything, size=anything, kind=anything)
def test_task_size_and_kind_take_anything_or_refuse(task, size, kind):
    scene = vorla.Scene()
    for attribute, value in (("task", task), ("size", size), ("kind", kind)):
        try:
            setattr(scene, attribute, value)
        except REFUSALS:
            pass
    assert scene.size[0] >= 1


@FUZZ
@given(view=st.tuples(anything, anything, anything), zoom=st.tuples(anything, anything, anything))
def test_views_and_zooms_of_anything_are_set_or_refused(view, zoom):
    scene = vorla.Scene.example(3)
    for move in (lambda: scene.with_view(*view), lambda: scene.zoom(*zoom)):
        try:
            moved = move()
        except REFUSALS:
            continue
        assert np.isfinite(moved.view.x_to - moved.view.x_from)


# The controls whose texts shape the map, the view and the pictures: every edit and check box,
# and the spins of few steps (the others would make slow pictures); drawn on small pictures.
SHAPING = [c["name"] for c in vorla.Scene().controls() if c["kind"] in ("edit", "check")] + [
    "SpinLimit", "SpinNumRect", "SpinCalcIter", "SpinRegionIter", "TloustKce"]


@FUZZ
@given(settings_=st.dictionaries(st.sampled_from(SHAPING), texts, max_size=6),
       task=st.integers(2, 6), kind=st.sampled_from(vorla.KINDS),
       size=st.tuples(st.integers(1, 9), st.integers(1, 7)),
       options=st.fixed_dictionaries({"overlay": st.booleans(), "fixed_points": st.booleans(),
                                      "clear": st.booleans()}))
def test_a_scene_of_hostile_texts_draws_or_refuses(settings_, task, kind, size, options):
    scene = vorla.Scene.example(10)
    scene.task = task
    for name, text in settings_.items():
        try:
            scene[name] = text
        except REFUSALS:
            pass
    try:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # edits without a number are warned of
            picture = scene.render(kind, size, seed=1, **options)
    except ValueError:
        return
    assert picture.rgb.shape == (size[1], size[0], 3)


@FUZZ
@given(x=anything, y=anything, steps=st.one_of(st.integers(-5, 300), anything),
       bound=st.sampled_from(["1000", "1e2500", "1e-30", "1e4932"]), task=st.integers(2, 6))
def test_orbits_of_anything_are_drawn_or_refused(x, y, steps, bound, task):
    scene = vorla.Scene.example(11)
    scene.task = task
    scene["EditNekonecno"] = bound
    try:
        orbit = scene.orbit(x, y, steps)
    except REFUSALS:
        return
    assert np.isfinite(orbit).all()


@pytest.mark.filterwarnings("ignore:overflow encountered")
@FUZZ
@given(xs=st.one_of(anything, st.lists(numbers, max_size=4)),
       ys=st.one_of(anything, st.lists(st.floats(), max_size=4)))
def test_steps_of_anything_are_taken_or_refused(xs, ys):
    try:
        X, Y = vorla.Scene.example(5).step(xs, ys)
    except REFUSALS:
        return
    assert X.shape == Y.shape


@FUZZ
@given(path=anything, grid=anything)
def test_saving_to_any_name_writes_or_refuses(tmp_path_factory, path, grid):
    picture = vorla.Scene.example(3).render("nth", (4, 3))
    folder = tmp_path_factory.mktemp("saves")
    if isinstance(path, str):
        path = folder / path.replace("/", "_")[:60] if path else path
    try:
        picture.save(path, grid=grid)
    except (*REFUSALS, OSError):
        pass
    assert picture.rgb.shape == (3, 4, 3)


@pytest.mark.filterwarnings("ignore:.*is not a number there")
@pytest.mark.parametrize("settings_", [
    {"EditKd": "0", "EditKr": "0"},                  # K2 a point on K1's centre
    {"EditKr": "1e4900", "EditKs": "1e-4900"},       # radii at the ends of the reals
    {"EditNekonecno": "1e4932"},                     # a bound whose square overflows
    {"edtXod": "-1e4900", "edtXdo": "1e4900"},       # a view as wide as the reals
    {"edtXod": "1", "edtXdo": "1.0000000000000000001"},  # a view of one step
    {"EditLimit1": "5", "EditLimit2": "1"},          # an upper limit below the lower one
    {"EditX1": "3", "EditX2": "1", "SpinRectDensity": "1"},  # an empty rectangle
    {"SpinKonvergIter": "99999", "SpinPeriodIter": "99999", "SpinLyapIter": "99999"},
    {"TloustKce": "99999999"},                       # a pen wider than the picture
])
def test_a_table_of_hostile_scenes_draws_every_kind_or_refuses(tmp_path, settings_):
    scene = with_texts(tmp_path, vorla.Scene.example(10), settings_)
    drawn = 0
    for kind in vorla.KINDS:
        try:
            scene.render(kind, (6, 5), seed=1, overlay=True, fixed_points=True)
            drawn += 1
        except ValueError:
            pass
    assert 0 <= drawn <= len(vorla.KINDS)
