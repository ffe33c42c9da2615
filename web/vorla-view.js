// The deep-zoom page of a Vorla picture: the tiles in OpenSeadragon, the facts of the picture
// and its scene, the plane point of the pixel under the pointer and a scale bar in plane units.
(function () {
    'use strict';

    const view = JSON.parse(document.getElementById('vorla-view').textContent);
    const scene = JSON.parse(document.getElementById('vorla-scene').textContent);

    // --- The plane point of a pixel, exactly as the renderer computed it --------------------
    // The renderer works in x87 long double: every product and sum is rounded to a 64-bit
    // significand, ties to even. The view file gives each number exactly (significand and
    // power of two), so the page repeats those roundings on exact integers and prints the
    // result as printf("%.*Lf") does.

    function exact(number) {
        return { m: BigInt(number.significand), e: number.exponent };
    }

    function bitLength(m) {
        return m === 0n ? 0 : m.toString(2).length;
    }

    // Rounds to a 64-bit significand, ties to even.
    function round64(v) {
        const negative = v.m < 0n;
        let m = negative ? -v.m : v.m;
        let e = v.e;
        const extra = bitLength(m) - 64;
        if (extra > 0) {
            const shift = BigInt(extra);
            const kept = m >> shift;
            const rest = m - (kept << shift);
            const half = 1n << (shift - 1n);
            m = rest > half || (rest === half && (kept & 1n) === 1n) ? kept + 1n : kept;
            e += extra;
        }
        return { m: negative ? -m : m, e: e };
    }

    function times(a, b) {
        return round64({ m: a.m * b.m, e: a.e + b.e });
    }

    function plus(a, b) {
        const e = Math.min(a.e, b.e);
        return round64({ m: (a.m << BigInt(a.e - e)) + (b.m << BigInt(b.e - e)), e: e });
    }

    function negated(a) {
        return { m: -a.m, e: a.e };
    }

    // The number with `decimals` digits after the point, rounded half to even.
    function fixed(v, decimals) {
        const negative = v.m < 0n;
        const m = negative ? -v.m : v.m;
        const scale = 10n ** BigInt(decimals);
        let q;
        if (v.e >= 0) {
            q = (m << BigInt(v.e)) * scale;
        } else {
            const num = m * scale;
            const den = 1n << BigInt(-v.e);
            q = num / den;
            const twice = 2n * (num - q * den);
            if (twice > den || (twice === den && (q & 1n) === 1n)) q += 1n;
        }
        const digits = q.toString().padStart(decimals + 1, '0');
        const text = decimals > 0
            ? digits.slice(0, digits.length - decimals) + '.' + digits.slice(digits.length - decimals)
            : digits;
        return (negative ? '-' : '') + text;
    }

    const xMin = exact(view.xMin), xStep = exact(view.xStep);
    const yMax = exact(view.yMax), yStep = exact(view.yStep);
    const stepX = Number(view.xStep.text), stepY = Number(view.yStep.text);
    // Enough digits to tell a pixel from its neighbours, and one more.
    const decimals = Math.min(40, Math.max(0,
        Math.ceil(-Math.log10(Math.min(stepX, stepY))) + 1));

    // The point of pixel (c, r): x = xMin + c * xStep, y = yMax - r * yStep.
    function pointOf(c, r) {
        const x = plus(times({ m: BigInt(c), e: 0 }, xStep), xMin);
        const y = plus(yMax, negated(times({ m: BigInt(r), e: 0 }, yStep)));
        return { x: fixed(x, decimals), y: fixed(y, decimals) };
    }

    // --- The facts of the picture and its scene ----------------------------------------------

    function fact(term, text) {
        const facts = document.getElementById('facts');
        const dt = document.createElement('dt');
        dt.textContent = term;
        const dd = document.createElement('dd');
        dd.textContent = text;
        facts.append(dt, dd);
    }

    function grouped(n) {
        return String(n).replace(/\B(?=(\d{3})+(?!\d))/g, ',');
    }

    function showFacts() {
        document.getElementById('kind').textContent = 'Vorla: ' + view.picture;
        document.getElementById('kind-title').textContent = view.pictureTitle;
        fact('Size', grouped(view.width) + ' \u00d7 ' + grouped(view.height) + ' pixels');
        const task = view.taskType;
        fact('Task', task >= 2 && task <= 5
            ? 'inversions in ' + task + ' circles'
            : task === 6 ? 'squaring, projected on the unit circle' : 'none');
        const c = scene.controls || {};
        const circles = [
            ['K1', '0', '0', '1'],
            ['K2', c.EditKd, '0', c.EditKr],
            ['K3', c.EditKm, c.EditKn, c.EditKs],
            ['K4', c.EditKu, c.EditKv, c.EditKw],
            ['K5', c.EditKa, c.EditKb, c.EditKc],
        ];
        if (task >= 2 && task <= 5) {
            for (let i = 0; i < task; i++) {
                const [name, x, y, r] = circles[i];
                fact(name, 'centre (' + x + ', ' + y + '), radius ' + r);
            }
        }
        fact('Axes', 'x from ' + c.edtXod + ' to ' + c.edtXdo + ', y relatively ' + c.edtYzero);
        const drawn = [];
        if (view.clear) drawn.push('the basic circles under it');
        if (view.overlay) drawn.push('the basic circles over it');
        if (view.fixedPoints) drawn.push('the fixed points');
        if (drawn.length) fact('With', drawn.join(', '));
        if (view.seed !== null) fact('Seed', view.seed);
    }

    // --- The viewer ------------------------------------------------------------------------

    function failed(message) {
        const p = document.createElement('p');
        p.className = 'failure';
        p.textContent = message;
        document.getElementById('picture').append(p);
    }

    showFacts();
    if (typeof OpenSeadragon !== 'function') {
        failed('The viewer\'s script viewer/openseadragon.min.js is missing.');
        return;
    }

    const viewer = OpenSeadragon({
        element: document.getElementById('picture'),
        tileSources: {
            Image: {
                xmlns: 'http://schemas.microsoft.com/deepzoom/2008',
                Url: view.image.tiles,
                Format: view.image.format,
                Overlap: String(view.image.overlap),
                TileSize: String(view.image.tileSize),
                Size: { Width: String(view.width), Height: String(view.height) },
            },
        },
        drawer: 'canvas',
        // Single pixels become squares of up to 32 screen pixels, drawn sharp.
        maxZoomPixelRatio: 32,
        imageSmoothingEnabled: false,
        showNavigationControl: false,
        showNavigator: true,
        navigatorPosition: 'TOP_RIGHT',
        visibilityRatio: 0.2,
        gestureSettingsMouse: { clickToZoom: false },
    });
    window.vorlaViewer = viewer;

    document.getElementById('zoom-in').onclick = () => viewer.viewport.zoomBy(2);
    document.getElementById('zoom-out').onclick = () => viewer.viewport.zoomBy(0.5);
    document.getElementById('home').onclick = () => viewer.viewport.goHome();

    // The point under the pointer, shown again as the picture moves under a pointer at rest.
    const readout = document.getElementById('readout');
    let pointer = null;

    function showPoint() {
        const item = viewer.world.getItemAt(0);
        if (!item || !pointer) {
            readout.hidden = true;
            return;
        }
        const at = item.viewerElementToImageCoordinates(pointer);
        const c = Math.floor(at.x), r = Math.floor(at.y);
        if (c < 0 || r < 0 || c >= view.width || r >= view.height) {
            readout.hidden = true;
            return;
        }
        const p = pointOf(c, r);
        document.getElementById('readout-x').textContent = p.x;
        document.getElementById('readout-y').textContent = p.y;
        document.getElementById('readout-pixel').textContent = c + ', ' + r;
        readout.hidden = false;
    }

    new OpenSeadragon.MouseTracker({
        element: viewer.container,
        moveHandler: (event) => {
            pointer = event.position;
            showPoint();
        },
        leaveHandler: () => {
            pointer = null;
            showPoint();
        },
    });

    // A bar of 1, 2 or 5 times a power of ten plane units, about 120 screen pixels long.
    function showScale() {
        const item = viewer.world.getItemAt(0);
        if (!item) return;
        const screenPerPixel = item.viewportToImageZoom(viewer.viewport.getZoom(true));
        const unitsPerScreen = stepX / screenPerPixel;
        const target = 120 * unitsPerScreen;
        const power = Math.pow(10, Math.floor(Math.log10(target)));
        let length = power;
        for (const f of [2, 5]) if (f * power <= target) length = f * power;
        document.getElementById('scale-bar').style.width =
            Math.round(length / unitsPerScreen) + 'px';
        document.getElementById('scale-text').textContent =
            Number(length.toPrecision(1)) + ' in the plane';
    }

    viewer.addHandler('open', () => {
        showScale();
        showPoint();
    });
    viewer.addHandler('animation', () => {
        showScale();
        showPoint();
    });
    viewer.addHandler('resize', showScale);
    viewer.addHandler('open-failed', (event) => failed('The tiles could not be opened: ' +
        event.message));
})();
