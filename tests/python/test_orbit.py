"""Orbits and map steps in the program's extended reals, fixed points, and the colours of a
kind for a legend."""
import os
import signal
import threading

import numpy as np
import pytest

import vorla
from conftest import with_texts


def two_circles():
    scene = vorla.Scene.example(3)  # D = 3, R = 2.5
    scene.task = 2
    return scene


def two_circle_step(x, y, D, R):
    """The two-circle map written out in numpy.longdouble, operation for operation."""
    d1 = x * x + y * y
    px, py = x / d1, y / d1
    d2 = (D - px) * (D - px) + py * py
    return D + (px - D) * (R * R) / d2, py * (R * R) / d2


def test_an_orbit_is_its_start_and_each_iterate_as_step_gives_it_in_extended_reals():
    scene = vorla.Scene.example(3)
    orbit = scene.orbit(0.5, 0.25, 20)
    assert (orbit.shape, orbit.dtype, tuple(orbit[0])) == ((21, 2), np.longdouble, (0.5, 0.25))
    stepped = np.stack(scene.step(orbit[:-1, 0], orbit[:-1, 1]), axis=1)
    assert np.array_equal(stepped, orbit[1:])
    # Not rounded to double on the way.
    x, y = np.longdouble(1) / 3, np.longdouble(2) / 7
    step = tuple(two_circles().orbit(x, y, 1)[1])
    assert step == two_circle_step(x, y, np.longdouble("3.0"), np.longdouble("2.5"))
    assert step != two_circle_step(float(x), float(y), 3.0, 2.5)
    # It ends where the map leaves the plane: 0 / 0 at the origin, with no tolerance there.
    scene = two_circles()
    scene["EditNekonecno"] = "1e2500"
    assert scene.orbit(0, 0, 10).shape == (1, 2)


@pytest.mark.parametrize("xs, ys, shape", [
    (0.5, 0.25, ()), (np.array([0.5, 1.5], dtype=np.longdouble), 0.25, (2,)),
    (np.ones((3, 1)), np.arange(4) / 8, (3, 4))])
def test_step_takes_points_that_broadcast_and_leaves_them_alone(xs, ys, shape):
    given = np.array(xs, copy=True)
    X, Y = vorla.Scene.example(3).step(xs, ys)
    assert (X.shape, Y.shape, X.dtype, Y.dtype) == (shape, shape, np.longdouble, np.longdouble)
    assert np.array_equal(np.asarray(xs), given)


def test_fixed_points_are_those_the_program_knows_and_stay_where_they_are():
    scene = two_circles()
    points = scene.fixed_points()
    X, Y = scene.step(points[:, 0], points[:, 1])
    assert points.shape == (2, 2)
    assert np.allclose(np.stack([X, Y], axis=1), points, rtol=0, atol=1e-15)
    assert vorla.Scene.example(3).fixed_points().shape == (0, 2)
    scene.task = 6  # the squaring
    assert scene.fixed_points().tolist() == [[1, 0]]


@pytest.mark.parametrize("setting, args, error, says", [
    ({"task": None}, (0.5, 0.5, 3), ValueError, "the scene has no task type"),
    ({"EditNekonecno": "0"}, (0.5, 0.5, 3), ValueError, r"\(EditNekonecno: '0'\)"),
    ({}, (0.5, 0.5, -1), ValueError, "steps takes a whole number from 0 to 100000000"),
    ({}, (0.5, 0.5, 2.5), TypeError, "steps takes"),
    ({}, (float("nan"), 0.5, 3), ValueError, "x takes a finite real number"),
    ({}, (0.5, float("-inf"), 3), ValueError, "y takes a finite real number"),
    ({}, (1j, 0.5, 3), TypeError, "x takes"),
])
def test_an_orbit_refuses_what_gives_none(tmp_path, setting, args, error, says):
    scene = vorla.Scene.example(3)
    if "task" in setting:
        scene.task = None
    scene = with_texts(tmp_path, scene, {k: v for k, v in setting.items() if k != "task"})
    with pytest.raises(error, match=says):
        scene.orbit(*args)


def test_ctrl_c_ends_a_long_orbit():
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            vorla.Scene.example(10).orbit(0.3, 0.2, 100000000)
    finally:
        timer.cancel()


def test_palettes_have_a_colour_for_each_value_from_the_scenes_colours():
    scene = vorla.Scene.example(3)
    counts = {"convergence": 8, "periodicity": 16, "preperiodicity": 16, "closest-order": 16,
              "closest-dist": 16, "end-regions": 8, "infinity": 12, "rectangle": 12, "nth": 256,
              "last-two": 256, "lyap-x": 241, "lyap-d": 241}
    assert {kind: len(scene.palette(kind)) for kind in counts} == counts
    scene["LabelBA"], scene["LabelBH"], scene["LabelLyapNegat"] = "1,2,3", "Olive", "Teal"
    palette = scene.palette("convergence")
    assert (palette[0].tolist(), palette[7].tolist()) == ([1, 2, 3], [128, 128, 0])
    assert np.array_equal(scene.palette("lyap-sum"), scene.lyapunov_scale()[:, 0])
