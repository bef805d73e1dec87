from libtessel.cli import run

run()
