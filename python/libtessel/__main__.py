import sys

from libtessel.cli import main

sys.exit(main())
