"""Nothing a user passes crashes the interpreter: the setters and the operations, fed anything,
do their work or raise one of the documented exceptions, saying what they take. Hypothesis
draws the inputs; a table holds the refusals of each branch of the module's checks."""
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
FUZZ = settings(max_examples=int(os.environ.get("VORLA_FUZZ_EXAMPLES", "100")), deadline=None,
                database=None, suppress_health_check=[HealthCheck.too_slow])

numbers = st.one_of(st.integers(), st.floats(), st.decimals(allow_nan=False).map(str),
                    st.sampled_from(["1/3", "1/0", "0/0", "2,5", "1e4932", "1e-4950", "-0",
                                     "1e", " 7 ", "+-1", "0x10", "inf", "nan", "1" * 400]))
anything = st.one_of(st.none(), st.booleans(), numbers, st.text(), st.binary(),
                     st.lists(st.integers(), max_size=3), st.complex_numbers(),
                     st.tuples(st.integers(), st.integers()), st.just(object()),
                     st.just(np.longdouble("0.1")), st.just(np.array([1, 2])))


def refused(action):
    try:
        return action()
    except REFUSALS:
        return None


@pytest.mark.filterwarnings("ignore:overflow encountered")
@FUZZ
@given(name=st.one_of(st.sampled_from([c["name"] for c in vorla.Scene().controls()]), anything),
       value=anything, task=st.one_of(st.integers(2, 6), anything), size=anything, kind=anything,
       view=st.tuples(anything, anything, anything), zoom=st.tuples(anything, anything, anything),
       bound=st.sampled_from(["1000", "1e2500", "1e-30", "1e4932"]),
       orbit=st.tuples(anything, anything, st.one_of(st.integers(-5, 300), anything)),
       xs=st.one_of(anything, st.lists(numbers, max_size=4)),
       ys=st.one_of(anything, st.lists(st.floats(), max_size=4)))
def test_setters_moves_and_orbits_fed_anything_work_or_refuse(name, value, task, size, kind, view,
                                                              zoom, bound, orbit, xs, ys):
    scene = vorla.Scene.example(11)
    scene["EditNekonecno"] = bound
    for attribute, given_ in (("task", task), ("size", size), ("kind", kind)):
        refused(lambda: setattr(scene, attribute, given_))
    assert scene.size[0] >= 1
    for moved in (refused(lambda: scene.with_view(*view)), refused(lambda: scene.zoom(*zoom))):
        assert moved is None or np.isfinite(moved.view.x_to - moved.view.x_from)
    points = refused(lambda: scene.orbit(*orbit))
    assert points is None or np.isfinite(points).all()
    stepped = refused(lambda: scene.step(xs, ys))
    assert stepped is None or stepped[0].shape == stepped[1].shape
    if refused(lambda: scene.__setitem__(name, value) or True):
        assert scene[name] is not None


# Every edit and check box, and the spins of few steps (the others make slow pictures).
SHAPING = [c["name"] for c in vorla.Scene().controls() if c["kind"] in ("edit", "check")] + [
    "SpinLimit", "SpinNumRect", "SpinCalcIter", "SpinRegionIter", "TloustKce"]
texts = st.one_of(st.text(), numbers.map(str), st.sampled_from(
    ["on", "off", "Navy", "#102030", "1,2,3", "256,0,0", "\x00", "\ud800"]))


@FUZZ
@given(settings_=st.dictionaries(st.sampled_from(SHAPING), texts, max_size=6),
       task=st.integers(2, 6), kind=st.sampled_from(vorla.KINDS),
       size=st.tuples(st.integers(1, 9), st.integers(1, 7)),
       options=st.fixed_dictionaries({"overlay": st.booleans(), "fixed_points": st.booleans(),
                                      "clear": st.booleans()}), path=anything, grid=anything)
def test_a_scene_of_hostile_texts_draws_and_saves_to_any_name_or_refuses(
        tmp_path_factory, settings_, task, kind, size, options, path, grid):
    scene = vorla.Scene.example(10)
    scene.task = task
    for name, text in settings_.items():
        refused(lambda: scene.__setitem__(name, text))
    try:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # edits without a number are warned of
            picture = scene.render(kind, size, seed=1, **options)
    except ValueError:
        return
    assert picture.rgb.shape == (size[1], size[0], 3)
    if isinstance(path, str) and path:
        path = tmp_path_factory.mktemp("saves") / path.replace("/", "_")[:60]
    try:
        picture.save(path, grid=grid)
    except (*REFUSALS, OSError):
        pass


S = vorla.Scene.example(3)
TINY = np.finfo(np.longdouble).smallest_subnormal * 64


@pytest.mark.parametrize("act, error, says", [
    (lambda: vorla.Scene.example(15), ValueError, "example takes a whole number from 1 to 14"),
    (lambda: vorla.Scene.example(2**70), ValueError, "example takes"),
    (lambda: vorla.Scene.example("3"), TypeError, "example takes"),
    (lambda: setattr(S.copy(), "task", 1), ValueError, "task takes a whole number from 2 to 6"),
    (lambda: setattr(S.copy(), "task", True), TypeError, "task takes"),
    (lambda: S.render("bogus"), ValueError, "unknown picture 'bogus'; the kinds: convergence"),
    (lambda: S.render(5), ValueError, "no picture has the tag 5"),
    (lambda: S.render(2.0), TypeError, "kind takes a whole number from 1 to 64"),
    (lambda: S.render(size=(0, 9)), ValueError, "width takes a whole number from 1 to 1000000"),
    (lambda: S.render(size=(10,)), TypeError, r"size takes \(width, height\)"),
    (lambda: S.render(threads=0), ValueError, "threads takes a whole number from 1 to 1024"),
    (lambda: S.render(seed=-1), ValueError, r"seed takes a whole number from 0 to 2\*\*64 - 1"),
    (lambda: S.render(seed=1.5), TypeError, "seed takes"),
    (lambda: S.render(progress=5), TypeError, "progress takes a callable"),
    (lambda: vorla.Scene().render(), ValueError, r"no task type \(scene.task = 2 to 6 gives one\)"),
    (lambda: vorla.Scene().orbit(0.5, 0.5, 3), ValueError, "the scene has no task type"),
    (lambda: with_texts(S, {"EditNekonecno": "0"}).orbit(0.5, 0.5, 3), ValueError,
     r"\(EditNekonecno: '0'\)"),
    (lambda: S.orbit(0.5, 0.5, -1), ValueError, "steps takes a whole number from 0 to 100000000"),
    (lambda: S.orbit(float("nan"), 0.5, 3), ValueError, "x takes a finite real number"),
    (lambda: S.orbit(0.5, 1j, 3), TypeError, "y takes a finite real number"),
    (lambda: S.with_view("abc", "2", "0.5"), ValueError, "x_from takes a number"),
    (lambda: S.with_view("0", "1e-4945", "0.5"), ValueError, "too far apart or too close"),
    (lambda: S.zoom(0, 0, 0), ValueError, "factor takes a number above 0"),
    (lambda: S.zoom(0, 0, TINY), ValueError, "too far apart or too close"),
    (lambda: vorla.flight("ab", 4), TypeError, "keys takes a sequence of Scene, not 'ab'"),
    (lambda: vorla.flight([S, 2], 4), TypeError, "keys takes a sequence of Scene, not 2"),
    (lambda: vorla.flight([S], 4), ValueError, "a flight takes two keyframes or more"),
    (lambda: vorla.flight([S, S], 1), ValueError, "frames takes a whole number from 2 to 99999"),
    (lambda: vorla.flight([S, S], 4, ease="bounce"), ValueError, "ease takes 'linear' or 'smooth'"),
    (lambda: vorla.flight([S, vorla.Scene.example(5)], 4), ValueError, "keeps one task type"),
])
def test_what_gives_nothing_is_refused_saying_what_it_takes(act, error, says):
    with pytest.raises(error, match=says):
        act()
