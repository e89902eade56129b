"""What the module computes is what the command line writes: the same
profile, the same study, to the last digit; and a study of many runs on a
local Dask cluster of worker processes is the study of one process."""

import os
import subprocess

import numpy as np
import pandas as pd
import pytest

import corvane

ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def cli(corvane_bin, *args):
    done = subprocess.run([corvane_bin, *map(str, args)], env=ENV, capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stderr
    return done


def read_csv(path):
    return pd.read_csv(path, float_precision="round_trip")


@pytest.mark.parametrize("shape, minute, hole", [("%f", 2.3, False), ("%e", 2.0, False), ("%g", 2.36, False),
                                                 ("%f", 2.1, True)])
def test_a_profile_is_the_export_of_the_command_line(make_run, corvane_bin, tmp_path, shape, minute, hole):
    folder = make_run(shape=shape)
    if hole:
        # A node missing from the profiled step: the run is the loader's to place.
        trunk = os.path.join(folder, "fabricsTrunk.dat")
        with open(trunk) as f:
            lines = f.readlines()
        del lines[12 + 5]
        with open(trunk, "w") as f:
            f.writelines(lines)
    out = tmp_path / "profile.csv"
    # Trunk's first fabric layer, the temperature.
    cli(corvane_bin, "--export-csv", out, "--option", 2300, "--quantity", 4, "--profile-at", minute, folder)
    expected = read_csv(out)
    got = corvane.load(folder).profile("Trunk", "Temperature(Degree)", minute)
    assert list(got.columns) == list(expected.columns)
    pd.testing.assert_frame_equal(got, expected, check_exact=True, check_dtype=False)
    assert len(got) == 3 * 4 and got.iloc[:, 2].isna().sum() == hole


def test_a_profile_past_the_run_is_refused_in_words(make_run):
    run = corvane.load(make_run())
    with pytest.raises(ValueError, match=r"9 min is beyond the end of the run's fabric data \(2.4 min\)"):
        run.profile("Trunk", 4, 9)
    with pytest.raises(ValueError, match="the run holds no fabric data of Head"):
        run.profile("Head", 4, 2)


def test_a_chart_export_is_the_files_values(make_run, corvane_bin, tmp_path):
    folder = make_run(shape="%f")
    out = tmp_path / "skin.csv"
    cli(corvane_bin, "--export-csv", out, "--option", 2100, "--quantity", 0, folder)
    expected = read_csv(out)
    body = corvane.load(folder).body
    trunk = body[body["Part"] == "Trunk"]
    np.testing.assert_array_equal(expected.iloc[:, 0].to_numpy(), trunk["Time(min)"].to_numpy())
    np.testing.assert_array_equal(expected.iloc[:, 1].to_numpy(), trunk.iloc[:, 2].to_numpy())


def test_a_study_is_the_command_lines(make_run, corvane_bin, tmp_path):
    folders = [make_run(shape=s, seed=i, start=i) for i, s in enumerate(["%f", "%e", "%g"])]
    out = tmp_path / "study.csv"
    cli(corvane_bin, "--study", out, *folders)
    expected = read_csv(out)
    got = corvane.study(folders)
    assert list(got.columns) == list(expected.columns)
    pd.testing.assert_frame_equal(got, expected, check_exact=True, check_dtype=False)


def test_a_study_names_a_run_it_cannot_load(make_run, tmp_path):
    folder = make_run()
    os.remove(os.path.join(folder, "bodyProperty.dat"))
    with pytest.raises(corvane.LoadError, match="could not be loaded: No data or incorrect format in body property"):
        corvane.study([folder])


def test_runs_summarised_on_a_cluster_of_worker_processes_agree_with_one_process(make_run):
    distributed = pytest.importorskip("distributed")

    # Made here, so that it travels to the workers by value.
    def _summary(path):
        run = corvane.load(path)
        body = run.body
        return (
            os.path.basename(path),
            float(body["Temperature of Skin(Degree)"].max()),
            float(run.fabric_array("Trunk", 4)[-1].mean()),
        )
    folders = [make_run(seed=i, samples=4 + i) for i in range(4)]
    alone = [_summary(f) for f in folders]
    study = corvane.study(folders)
    with distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None, silence_logs=40
    ) as cluster, distributed.Client(cluster) as client:
        pids = set(client.run(os.getpid).values())
        assert len(pids) == 2 and os.getpid() not in pids, "two worker processes, not threads"
        on_cluster = client.gather(client.map(_summary, folders))
        remote_study = client.submit(corvane.study, folders).result()
        runs = client.gather(client.map(corvane.load, folders))
    assert on_cluster == alone
    pd.testing.assert_frame_equal(remote_study, study, check_exact=True)
    assert [r.directory for r in runs] == [corvane.load(f).directory for f in folders]
