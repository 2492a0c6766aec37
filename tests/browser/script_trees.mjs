// Trees of class scripts for the browser test: a small hand-written one with
// the records it must yield, and a generated one of more than 100000 records.
import fs from 'node:fs';
import path from 'node:path';

// A small waterworks: classes three levels deep, states, a bodiless native
// function, quotes and braces inside bodies, comments, a subdirectory.
const smallFiles = {
  'Gauge.kc': `// Shows a reading.
class Gauge;

var float Reading;

event Changed(float OldReading)
{
}
`,
  'lights/Lamp.kc': `class Lamp expands Gauge;

var byte Brightness;

auto state Glowing
{
	function Dim() { Brightness = Brightness / 2; }
}
`,
  'lib/Machine.kc': `// A thing that runs on power and can be switched on and off.
class Machine expands Actor
	abstract;

var class<Actor> C;
var int Power;

/* Called once when the machine is placed. */
function Start()
{
	if (Power > 0) { Log("starting {now}"); }
}

event Tick(float DeltaTime)
{
	Power -= 1;
}
`,
  'lib/water/Pump.kc': `class Pump expands Machine;

var float Rate;

native function Prime();   // bodiless, so not listed

state Pumping
{
	event Tick(float DeltaTime)
	{
		Rate = FMin(Rate + 0.5, 10);
	}
	function Stop()
	{
		GotoState('');
	}
}
`,
  'lib/water/BilgePump.kc': `class BilgePump expands Pump;
var bool Flooded;
function bool IsFlooded()
{
	return Flooded;
}
`,
  'lib/water/Valve.kc': `class Valve expands Machine;
var() int Turns;
var string Label;
function Open(int By) { Turns += By; }
event Closed() { Label = "shut; {really}"; }
`,
};

// What the small tree must show: every record with its kind, the name shown
// in brackets after it (its superclass or class, if parsed) and its
// declarations as a reader sees them on its page.
export const smallRecords = [
  {
    name: 'Gauge',
    kind: 'class',
    parent: '',
    vars: ['var float Reading'],
    events: ['event Changed (float OldReading)'],
    functions: [],
  },
  {
    name: 'Lamp',
    kind: 'class',
    parent: 'Gauge',
    vars: ['var byte Brightness'],
    events: [],
    functions: [],
  },
  {
    name: 'Glowing',
    kind: 'state',
    parent: 'Lamp',
    vars: [],
    events: [],
    functions: ['function Dim ()'],
  },
  {
    name: 'Machine',
    kind: 'class',
    parent: '',
    vars: ['var class<Actor> C', 'var int Power'],
    events: ['event Tick (float DeltaTime)'],
    functions: ['function Start ()'],
  },
  {
    name: 'Pump',
    kind: 'class',
    parent: 'Machine',
    vars: ['var float Rate'],
    events: [],
    functions: [],
  },
  {
    name: 'Pumping',
    kind: 'state',
    parent: 'Pump',
    vars: [],
    events: ['event Tick (float DeltaTime)'],
    functions: ['function Stop ()'],
  },
  {
    name: 'BilgePump',
    kind: 'class',
    parent: 'Pump',
    vars: ['var bool Flooded'],
    events: [],
    functions: ['function bool IsFlooded ()'],
  },
  {
    name: 'Valve',
    kind: 'class',
    parent: 'Machine',
    vars: ['var () int Turns', 'var string Label'],
    events: ['event Closed ()'],
    functions: ['function Open (int By)'],
  },
];

/// Writes the small tree under `dir`.
export function writeSmallTree(dir) {
  for (const [name, text] of Object.entries(smallFiles)) {
    const file = path.join(dir, name);
    fs.mkdirSync(path.dirname(file), {recursive: true});
    fs.writeFileSync(file, text);
  }
}

// The large tree: `pairs` scripts A00000.kc ... each with a class Annnnn and
// a state Snnnnn, so records 0 .. 2*pairs-1 are those classes, then those
// states; after them come Top (with state TopState), Zed under Top and Zulu
// under Zed.
export const largePairs = 50000;
export const largeExtra = [
  {name: 'Top', number: 2 * largePairs, children: ['TopState', 'Zed']},
  {name: 'TopState', number: 2 * largePairs + 1, children: []},
  {name: 'Zed', number: 2 * largePairs + 2, children: ['Zulu']},
  {name: 'Zulu', number: 2 * largePairs + 3, children: []},
];

/// Writes the large tree under `dir`.
export function writeLargeTree(dir) {
  const scripts = path.join(dir, 'many');
  fs.mkdirSync(scripts, {recursive: true});
  for (let i = 0; i < largePairs; ++i) {
    const n = String(i).padStart(5, '0');
    fs.writeFileSync(path.join(scripts, `A${n}.kc`), `class A${n};\nstate S${n}\n{\n}\n`);
  }
  fs.writeFileSync(path.join(dir, 'Top.kc'), 'class Top;\nstate TopState { }\n');
  fs.writeFileSync(path.join(dir, 'Zed.kc'), 'class Zed expands Top;\n');
  fs.writeFileSync(path.join(dir, 'Zulu.kc'), 'class Zulu expands Zed;\n');
}
