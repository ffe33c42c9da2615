"""Orbits and map steps in the program's extended reals, fixed points, and the colours of a
kind for a legend."""
import numpy as np
import pytest

import vorla


def test_orbits_steps_and_fixed_points_are_the_maps_in_extended_reals():
    scene = vorla.Scene.example(3)
    scene.task = 2
    x, y = np.longdouble(1) / 3, np.longdouble(2) / 7  # no doubles
    orbit = scene.orbit(x, y, 20)
    assert (orbit.shape, orbit.dtype, tuple(orbit[0])) == ((21, 2), np.longdouble, (x, y))
    assert tuple(scene.orbit(float(x), float(y), 1)[1]) != tuple(orbit[1])  # nor rounded to one
    stepped = np.stack(scene.step(orbit[:-1, 0], orbit[:-1, 1]), axis=1)
    assert np.array_equal(stepped, orbit[1:])
    # It ends where the map leaves the plane: 0 / 0 at the origin, with no tolerance there.
    scene["EditNekonecno"] = "1e2500"
    assert scene.orbit(0, 0, 10).shape == (1, 2)
    assert (scene.fixed_points().shape, scene.fixed_points().dtype) == ((2, 2), np.longdouble)
    assert vorla.Scene.example(3).fixed_points().shape == (0, 2)
    scene.task = 6  # the squaring
    assert scene.fixed_points().tolist() == [[1, 0]]


@pytest.mark.parametrize("xs, ys, shape", [
    (0.5, 0.25, ()), (np.array([0.5, 1.5], dtype=np.longdouble), 0.25, (2,)),
    (np.ones((3, 1)), np.arange(4) / 8, (3, 4))])
def test_step_takes_points_that_broadcast_and_leaves_them_alone(xs, ys, shape):
    given = np.array(xs, copy=True)
    X, Y = vorla.Scene.example(3).step(xs, ys)
    assert (X.shape, Y.shape, X.dtype, Y.dtype) == (shape, shape, np.longdouble, np.longdouble)
    assert np.array_equal(np.asarray(xs), given)


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
