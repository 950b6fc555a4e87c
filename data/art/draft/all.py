# Redraws every picture source from the drafting scripts (overwrites hand edits of those files).
import os, runpy
here = os.path.dirname(os.path.abspath(__file__))
for name in ('ground', 'people', 'creatures', 'objects', 'build', 'ui'):
    runpy.run_path(os.path.join(here, name + '.py'), run_name='__main__')
