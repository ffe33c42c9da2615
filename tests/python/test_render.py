"""Pictures from Python: arrays that are the picture's memory, what a picture tells, progress,
the renderer's messages, threads, and Ctrl+C of a render or an orbit."""
import os
import re
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import vorla
from conftest import RENDER, read_picture, run_renderer, with_texts


def test_a_picture_tells_how_it_was_drawn_and_its_arrays_are_its_memory(tmp_path):
    scene = vorla.Scene.example(3)
    scene.kind, scene.size = "periodicity", (90, 70)
    kept = [getattr(scene.render(seed=11), a) for a in ("rgb", "grid")]
    picture = scene.render(seed=11)
    assert (picture.kind, picture.tag, picture.size, picture.seed) == ("periodicity", 2, (90, 70),
                                                                      11)
    assert scene.render(17, (20, 10)).kind == "last-two"
    assert [(a.shape, a.dtype) for a in kept] == [((70, 90, 3), np.uint8), ((70, 90), np.int32)]
    assert np.array_equal(kept[0], picture.rgb)
    assert np.array_equal(kept[1], picture.grid)
    assert np.shares_memory(picture.grid, picture.grid)
    picture.rgb[5, 7] = (1, 2, 3)
    picture.save(tmp_path / "p.png")
    assert tuple(read_picture(tmp_path / "p.png")[5, 7]) == (1, 2, 3)
    # The extent centres each pixel on its start point.
    left, right, bottom, top = picture.extent
    v = picture.view
    step = float((v.x_to - v.x_from) / 90)
    y_max = float((1 - v.y_rel) * 70 * step)
    assert np.allclose((left + step / 2, top - step / 2), (float(v.x_from), y_max))


def test_progress_hears_rows_or_steps_in_order_shows_a_bar_or_ends_the_render(capsys):
    for example, kind, size, last in [(10, "periodicity", (200, 160), 160),
                                      (3, "rectangle", (60, 50), 4)]:
        heard, scene = [], vorla.Scene.example(example)
        scene["SpinNumRect"] = "4"
        scene.render(kind, size, threads=1, progress=lambda *done: heard.append(done))
        assert heard == sorted(heard)
        assert heard[-1] == (last, last)
    vorla.Scene.example(3).render("nth", (50, 40), progress=True)
    assert "40/40" in capsys.readouterr().err

    def fail(done, total):
        raise LookupError("stop here")

    with pytest.raises(LookupError, match="stop here"):
        vorla.Scene.example(10).render("periodicity", (300, 200), progress=fail)


@pytest.mark.parametrize("texts, raised", [({"EditNekonecno": "0"}, ValueError),
                                           ({"EditKr": "abc"}, UserWarning)])
def test_a_scene_refused_or_warned_of_says_the_renderers_message(tmp_path, texts, raised):
    scene = with_texts(vorla.Scene.example(3), texts)
    scene.save(tmp_path / "texts.json")
    # A BMP file is drawn whole, as a picture for Python is.
    said = run_renderer("--scene", tmp_path / "texts.json", "--size", "20x10",
                        tmp_path / "x.bmp", check=False, quiet=False).stderr.strip()
    if raised is UserWarning:
        with pytest.warns(UserWarning) as warned:
            scene.render(size=(20, 10))
        assert "vorla-render: warning: " + str(warned[0].message) == said
    else:
        with pytest.raises(ValueError) as refused:
            scene.render(size=(20, 10))
        assert "vorla-render: " + str(refused.value) == said


# The first is refused for want of free memory, the second by the allocator under the limit.
@pytest.mark.parametrize("size", ["1000000x1000000", "16384x16384"])
def test_a_picture_beyond_memory_raises_memoryerror_with_the_renderers_message(tmp_path, size):
    script = f"import vorla; vorla.Scene.example(3).render(size=({size.replace('x', ',')}))"
    said = [subprocess.run(["bash", "-c", f"ulimit -v 600000; {command}"], capture_output=True,
                           text=True).stderr.strip().splitlines()[-1]
            for command in (f"{sys.executable} -c '{script}'",
                            f"{RENDER} --quiet --size {size} {tmp_path}/x.bmp")]
    free = re.compile(r"only \d+ MB")
    assert free.sub("", said[0].replace("MemoryError:", "vorla-render:")) == free.sub("", said[1])


def test_two_threads_render_at_once_and_give_the_arrays_of_one_after_the_other():
    scene, log, pictures = vorla.Scene.example(10), [], {}

    def run(name):
        pictures[name] = scene.render("periodicity", (240, 200), threads=1,
                                      progress=lambda done, total: log.append((name, done)))

    other = threading.Thread(target=run, args=("b",))
    other.start()
    run("a")
    other.join()
    at = {n: [i for i, (m, _) in enumerate(log) if m == n] for n in "ab"}
    # Each reports progress while the other is between its first and its last report.
    assert [any(at[o][0] < i < at[o][-1] for i in at[n]) for n, o in ("ab", "ba")] == [True] * 2
    alone = scene.render("periodicity", (240, 200))
    assert [(n, a) for n in "ab" for a in ("rgb", "grid")
            if not np.array_equal(getattr(pictures[n], a), getattr(alone, a))] == []


@pytest.mark.parametrize("job", ["render", "orbit"])
def test_ctrl_c_ends_a_render_or_an_orbit_within_a_tenth_of_a_second(job):
    # From the signal to the raise, the best of three tries: a loaded machine may delay one.
    delays = []
    for _ in range(3):
        going, sent = threading.Event(), []
        sender = threading.Thread(target=lambda: going.wait(60) and (
            sent.append(time.monotonic()) or os.kill(os.getpid(), signal.SIGINT)))
        sender.start()
        with pytest.raises(KeyboardInterrupt):
            if job == "orbit":
                threading.Timer(0.3, going.set).start()
                vorla.Scene.example(10).orbit(0.3, 0.2, 100000000)
            vorla.Scene.example(3).render(size=(3000, 2500), threads=1,
                                          progress=lambda done, total: done > 0 and going.set())
        delays.append(time.monotonic() - sent[0])
        sender.join()
    assert min(delays) < 0.1, delays
