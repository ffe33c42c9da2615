"""The module as it is shipped: installed where Debian's python3 finds it, used from the build
tree by the README's line, and its notebook kept without outputs."""
import json
import os
import re
import shutil
import subprocess

from conftest import BUILD, ROOT

DEBIAN_PYTHON = "/usr/bin/python3"


def test_install_puts_the_module_in_a_folder_of_debians_python(tmp_path):
    subprocess.run([shutil.which("cmake"), "--install", str(BUILD), "--component", "python"],
                   env={**os.environ, "DESTDIR": str(tmp_path)}, check=True, capture_output=True)
    folders = {"/" + str(p.parent.relative_to(tmp_path)) for p in tmp_path.rglob("vorla*.so")}
    clean = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}  # nothing of ours
    path = subprocess.run([DEBIAN_PYTHON, "-c", "import sys; print('\\n'.join(sys.path))"],
                          capture_output=True, text=True, env=clean).stdout.split()
    assert len(folders) == 1, (folders, path)
    assert folders <= set(path), (folders, path)


def test_the_readme_line_runs_from_the_build_tree():
    readme = (ROOT / "README.md").read_text()
    line = re.search(r"^PYTHONPATH=build/python /usr/bin/python3 -c .*$", readme, re.M).group(0)
    line = line.replace("PYTHONPATH=build/python", f"PYTHONPATH={BUILD}/python", 1)
    done = subprocess.run(["bash", "-c", line], capture_output=True, text=True, cwd=ROOT)
    assert done.stdout.strip() == "(450, 542, 3) int32", done.stderr


def test_the_notebook_is_kept_without_outputs():
    notebook = json.loads((ROOT / "docs" / "notebooks" / "tour.ipynb").read_text())
    kept = [c["source"][:1] for c in notebook["cells"] if c["cell_type"] == "code"
            and (c["outputs"] or c["execution_count"] is not None)]
    assert kept == []
