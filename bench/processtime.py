"""What the live-view benchmarks share about the processes they start."""
import os


def cpu_seconds(pid):
    """The process's user and system time so far, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        # Fields after the command name, which may itself hold blanks.
        fields = f.read().rsplit(")", 1)[1].split()
    utime, stime = int(fields[11]), int(fields[12])
    return (utime + stime) / os.sysconf("SC_CLK_TCK")


def stopped(process):
    process.terminate()
    process.wait()
